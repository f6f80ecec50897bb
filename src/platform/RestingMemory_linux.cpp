#include "platform/RestingMemory.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <algorithm>
#include <elf.h>
#include <link.h>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

struct Range
{
    quintptr start = 0;
    quintptr end = 0;
};

// Mappings that hold no page of the program's own: backed by a file, private, not writable, and
// without a single anonymous (copied-on-write) page. Dropping their pages loses nothing, since the
// next access reads them back from the file. A read-only mapping can still hold copied pages
// (relocated pointers made read-only after loading, a debugger's breakpoints); those mappings are
// never touched.
struct CleanMappings
{
    std::vector<Range> fonts;
    std::vector<Range> others;
};

bool isFontFile(const QByteArray& path)
{
    return path.endsWith(".ttf") || path.endsWith(".ttc") || path.endsWith(".otf") || path.endsWith(".otc") ||
           path.endsWith(".pfb");
}

CleanMappings readCleanMappings()
{
    CleanMappings clean;
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly))
        return clean;
    // Each mapping is a line "start-end perms offset device inode path" (only the path may hold
    // spaces) followed by "Key: value kB" lines, among them "Anonymous:".
    Range range;
    bool candidate = false;
    bool font = false;
    for (const QByteArray& line : smaps.readAll().split('\n')) {
        if (line.startsWith("Anonymous:")) {
            if (candidate && line.mid(10).trimmed().split(' ').first() == "0")
                (font ? clean.fonts : clean.others).push_back(range);
            candidate = false;
            continue;
        }
        const qsizetype pathAt = line.indexOf('/');
        const QList<QByteArray> fields = line.left(pathAt < 0 ? line.size() : pathAt).simplified().split(' ');
        if (fields.size() < 5 || !fields[0].contains('-') || fields[1].size() != 4)
            continue;
        const QList<QByteArray> bounds = fields[0].split('-');
        bool startOk = false;
        bool endOk = false;
        range = {bounds.value(0).toULongLong(&startOk, 16), bounds.value(1).toULongLong(&endOk, 16)};
        const QByteArray& perms = fields[1];
        candidate = pathAt >= 0 && startOk && endOk && range.end > range.start && perms[1] == '-' &&
                    perms[3] == 'p' && fields[4] != "0";
        font = candidate && perms == "r--p" && isFontFile(line.mid(pathAt));
    }
    return clean;
}

void dropPages(Range range)
{
    madvise(reinterpret_cast<void*>(range.start), range.end - range.start, MADV_DONTNEED);
}

// Text relocations write into an object's code while it loads, so its code pages are its own.
bool hasTextRelocations(const dl_phdr_info& object)
{
    for (int i = 0; i < object.dlpi_phnum; ++i) {
        if (object.dlpi_phdr[i].p_type != PT_DYNAMIC)
            continue;
        const auto* entry =
            reinterpret_cast<const ElfW(Dyn)*>(object.dlpi_addr + object.dlpi_phdr[i].p_vaddr);
        for (; entry->d_tag != DT_NULL; ++entry) {
            if (entry->d_tag == DT_TEXTREL || (entry->d_tag == DT_FLAGS && (entry->d_un.d_val & DF_TEXTREL)))
                return true;
        }
    }
    return false;
}

// Called for each loaded library (and the program) while the dynamic linker holds the list of
// them, so none is unloaded meanwhile. Only its segments that are never writable are dropped, and
// of those only the pages inside mappings found clean.
int dropCleanSegments(dl_phdr_info* object, size_t, void* data)
{
    const auto& clean = *static_cast<const std::vector<Range>*>(data);
    if (hasTextRelocations(*object))
        return 0;
    const quintptr page = quintptr(sysconf(_SC_PAGESIZE));
    Range relro;
    for (int i = 0; i < object->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = object->dlpi_phdr[i];
        if (segment.p_type == PT_GNU_RELRO)
            relro = {object->dlpi_addr + segment.p_vaddr,
                     object->dlpi_addr + segment.p_vaddr + segment.p_memsz};
    }
    for (int i = 0; i < object->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = object->dlpi_phdr[i];
        if (segment.p_type != PT_LOAD || (segment.p_flags & PF_W))
            continue;
        // Whole pages inside the segment only.
        const quintptr start = (object->dlpi_addr + segment.p_vaddr + page - 1) / page * page;
        const quintptr end = (object->dlpi_addr + segment.p_vaddr + segment.p_memsz) / page * page;
        if (start >= end || (relro.start < end && start < relro.end))
            continue;
        for (const Range& mapping : clean) {
            const Range both{std::max(start, mapping.start), std::min(end, mapping.end)};
            if (both.start < both.end)
                dropPages(both);
        }
    }
    return 0;
}

} // namespace

void RestingMemory::release()
{
    const CleanMappings clean = readCleanMappings();
    // FreeType reads font files through read-only private mappings. The light hinting that
    // fontconfig asks for has FreeType's auto-hinter load about a hundred reference glyphs of each
    // CJK face, and the kernel maps 64 KiB around every glyph read: megabytes of a face stay
    // mapped for the few dozen characters drawn. Fonts are mapped and unmapped on this thread only.
    for (const Range& font : clean.fonts)
        dropPages(font);
    // The code and constants of Qt and the other libraries that start-up and the last showing of
    // the window ran. A program resting in the tray runs little of it until it is shown again.
    std::vector<Range> others = clean.others;
    dl_iterate_phdr(&dropCleanSegments, &others);
    malloc_trim(0);
}
