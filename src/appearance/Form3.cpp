#include "appearance/Form3.h"

#include "appearance/AppearanceModel.h"
#include "appearance/FontNames.h"

#include "widgets/FreeTextComboBox.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsValues.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

namespace {

constexpr int kSwatchCount = 4;
constexpr int kShadowSizes = 10;

QColor colourOf(quint32 value)
{
    return QColor(redOf(value), greenOf(value), blueOf(value));
}

quint32 valueOf(const QColor& colour)
{
    return colourValue(colour.red(), colour.green(), colour.blue());
}

QColor askColour(const QColor& initial, QWidget* parent)
{
    return QColorDialog::getColor(initial, parent);
}

void showError(const QString& text, const QString& title, QWidget* parent)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace

Form3::Form3(AppearanceModel& appearance, SettingsStore& store, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_appearance(appearance), m_store(store), m_chooseColour(&askColour), m_notifyError(&showError)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("字体设置"));
    setFixedSize(179, 198);
    setSizeGripEnabled(false);
    QFont small = font();
    small.setPixelSize(12);
    setFont(small);
    buildControls();
    Form_Load();
    showValues(m_appearance.value());
}

void Form3::buildControls()
{
    // A typed name is kept as text only; it reaches the strip at the next start.
    auto* fontName = new FreeTextComboBox(this);
    Combo1 = fontName;
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setGeometry(32, 8, 121, 20);
    connect(fontName, &FreeTextComboBox::picked, this, &Form3::Combo1_Click);

    struct Caption
    {
        int left, top, width;
        QString text;
    };
    // The left column colours the ring round the letters, the right one the step beneath them.
    const std::array<Caption, 6> captions{{{32, 60, 20, QStringLiteral("P1")},
                                           {32, 100, 20, QStringLiteral("P2")},
                                           {56, 40, 32, QStringLiteral("侧部")},
                                           {112, 40, 32, QStringLiteral("底部")},
                                           {16, 138, 44, QStringLiteral("透明度")},
                                           {16, 164, 52, QStringLiteral("影子大小")}}};
    for (std::size_t i = 0; i < captions.size(); ++i) {
        QLabel* label = new QLabel(captions[i].text, this);
        label->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        label->setGeometry(captions[i].left, captions[i].top, captions[i].width, 12);
        Label1[i] = label;
    }

    const std::array<QPoint, kSwatchCount> swatchAt{{{56, 56}, {112, 56}, {56, 96}, {112, 96}}};
    const std::array<QString, kSwatchCount> tips{QStringLiteral("P1 - 侧部"), QStringLiteral("P1 - 底部"),
                                                 QStringLiteral("P2 - 侧部"), QStringLiteral("P2 - 底部")};
    for (std::size_t i = 0; i < kSwatchCount; ++i) {
        QFrame* swatch = new QFrame(this);
        swatch->setObjectName(QStringLiteral("Picture1(%1)").arg(i));
        swatch->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        swatch->setGeometry(QRect(swatchAt[i], QSize(41, 25)));
        swatch->setToolTip(tips[i]);
        swatch->setCursor(Qt::PointingHandCursor);
        swatch->setAutoFillBackground(true);
        swatch->installEventFilter(this);
        Picture1[i] = swatch;

        QLabel* marker = new QLabel(QStringLiteral("无色"), swatch);
        marker->setObjectName(QStringLiteral("Label2(%1)").arg(i));
        marker->setGeometry(QRect(swatch->contentsRect().topLeft(), QSize(24, 12)));
        marker->setAlignment(Qt::AlignCenter);
        QPalette palette = marker->palette();
        palette.setColor(QPalette::WindowText, QColor(0, 0, 128));
        palette.setColor(QPalette::Window, QColor(192, 255, 255));
        marker->setPalette(palette);
        marker->setAutoFillBackground(true);
        marker->installEventFilter(this);
        marker->hide();
        Label2[i] = marker;
    }

    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setGeometry(56, 136, 97, 17);
    // Right is opaque: the value grows to the right.
    HScroll1->setRange(1, 255);
    HScroll1->setPageStep(16);
    HScroll1->setSingleStep(1);

    Combo2 = new QComboBox(this);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo2->setEditable(false);
    Combo2->setGeometry(88, 160, 65, 20);
    connect(Combo2, &QComboBox::currentIndexChanged, this, &Form3::Combo2_Click);
}

void Form3::Form_Load()
{
    const QStringList first{QStringLiteral("宋体"), QStringLiteral("黑体"), QStringLiteral("楷体")};
    QStringList more = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    more.erase(std::remove_if(more.begin(), more.end(),
                              [&](const QString& family) { return first.contains(family); }),
               more.end());
    more.sort(Qt::CaseInsensitive);
    more.removeDuplicates();
    Combo1->addItems(first);
    Combo1->addItems(more);
    // Family names are often wider than the box itself.
    Combo1->view()->setMinimumWidth(Combo1->view()->sizeHintForColumn(0) + 24);
}

void Form3::showValues(const Appearance& values)
{
    for (std::size_t i = 0; i < kSwatchCount; ++i)
        setSwatchColour(int(i), colourOf(values.colours[i]));
    HScroll1->setValue(values.opacity);
    for (std::size_t i = 0; i < kSwatchCount; ++i)
        Label2[i]->setVisible(values.noColour[i]);
    // The controls follow the model here, not the other way round.
    const QSignalBlocker quiet(Combo2);
    // Adding items would select the first one; the stored size is what selects.
    for (int size = 0; size < kShadowSizes; ++size)
        Combo2->addItem(QString::number(size));
    Combo1->setEditText(values.fontName);
    Combo2->setCurrentIndex(values.shadowSize >= 0 && values.shadowSize < kShadowSizes ? values.shadowSize
                                                                                       : -1);
}

void Form3::showCentred()
{
    if (isHidden()) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (screen) {
            QRect frame(QPoint(0, 0), frameGeometry().size().expandedTo(size()));
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    show();
    raise();
    activateWindow();
}

void Form3::Combo1_Click()
{
    const QString family = Combo1->currentText();
    // Qt would quietly fall back to any font; only an installed family (or one of its localised
    // names), or a name substituted by an installed face, counts.
    if (!FontNames::resolves(family)) {
        m_notifyError(QStringLiteral("此字体在系统中未找到"), QStringLiteral("错误"), this);
        return;
    }
    m_appearance.setFontName(family);
}

void Form3::Combo2_Click()
{
    m_appearance.setShadowSize(Combo2->currentIndex());
}

void Form3::Picture1_MouseDown(int index, Qt::MouseButton button)
{
    if (index < 0 || index >= kSwatchCount)
        return;
    if (button == Qt::LeftButton) {
        const QColor initial = swatchColour(index);
        QColor chosen = m_chooseColour(initial, this);
        if (!chosen.isValid())
            chosen = initial;
        // RGB(254,0,0) is the strip's own key for the main letters; a layer in it would vanish.
        if (valueOf(chosen) == colourValue(254, 0, 0))
            chosen = QColor(255, 0, 0);
        setSwatchColour(index, chosen);
        m_appearance.setColour(index, valueOf(chosen));
    } else if (button == Qt::RightButton) {
        QLabel* marker = Label2[std::size_t(index)];
        marker->setVisible(marker->isHidden());
        m_appearance.setNoColour(index, !marker->isHidden());
    }
}

void Form3::Label2_MouseDown(int index)
{
    if (index < 0 || index >= kSwatchCount)
        return;
    Label2[std::size_t(index)]->hide();
    m_appearance.setNoColour(index, false);
}

void Form3::Form_Unload()
{
    m_appearance.setOpacity(HScroll1->value());
    hide();
    Appearance saved = m_appearance.value();
    // A typed name is saved, but only a picked one is in the model: the strip takes a typed name
    // at the next start.
    saved.fontName = Combo1->currentText();
    const SaveOutcome outcome = saved.save(m_store);
    if (!outcome.saved)
        emit saveFailed(SettingsValues::saveFailureMessage(QStringLiteral("外观设置"), outcome));
}

void Form3::reject()
{
    close();
}

void Form3::closeEvent(QCloseEvent* event)
{
    // The dialog lives as long as the program; closing keeps its state and only hides it.
    event->ignore();
    Form_Unload();
}

bool Form3::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
        return QDialog::eventFilter(watched, event);
    const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
    for (int i = 0; i < kSwatchCount; ++i) {
        if (watched == Label2[std::size_t(i)]) {
            Label2_MouseDown(i);
            return true;
        }
        if (watched == Picture1[std::size_t(i)]) {
            Picture1_MouseDown(i, button);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QColor Form3::swatchColour(int index) const
{
    return Picture1[std::size_t(index)]->palette().color(QPalette::Window);
}

void Form3::setSwatchColour(int index, const QColor& colour)
{
    QFrame* swatch = Picture1[std::size_t(index)];
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, colour);
    swatch->setPalette(palette);
}
