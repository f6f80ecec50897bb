#include "platform/RestingMemory.h"

#include <QByteArray>
#include <QFile>
#include <malloc.h>
#include <sys/mman.h>

namespace {

bool isFontFile(const QByteArray& path)
{
    return path.endsWith(".ttf") || path.endsWith(".ttc") || path.endsWith(".otf") || path.endsWith(".otc") ||
           path.endsWith(".pfb");
}

} // namespace

void RestingMemory::release()
{
    // FreeType reads font files through read-only private mappings. The light hinting that
    // fontconfig asks for has FreeType's auto-hinter load about a hundred reference glyphs of each
    // CJK face, and the kernel maps 64 KiB around every glyph read: megabytes of a face stay
    // mapped for the few dozen characters drawn. Nothing is ever written to these pages, so
    // unmapping them loses nothing.
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (maps.open(QIODevice::ReadOnly)) {
        // address-range perms offset device inode path, where only the path may hold spaces
        for (const QByteArray& line : maps.readAll().split('\n')) {
            const qsizetype pathAt = line.indexOf('/');
            const QList<QByteArray> fields = line.left(pathAt).simplified().split(' ');
            if (pathAt < 0 || fields.size() < 2 || fields[1] != "r--p" || !isFontFile(line.mid(pathAt)))
                continue;
            const QList<QByteArray> range = fields[0].split('-');
            bool startOk = false;
            bool endOk = false;
            const quintptr start = range.value(0).toULongLong(&startOk, 16);
            const quintptr end = range.value(1).toULongLong(&endOk, 16);
            if (startOk && endOk && end > start)
                madvise(reinterpret_cast<void*>(start), end - start, MADV_DONTNEED);
        }
    }
    malloc_trim(0);
}
