#include "schedule/EditorPanel.h"

#include "schedule/DateCue.h"
#include "schedule/SoundCue.h"
#include "widgets/FreeTextComboBox.h"
#include "widgets/Twips.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <utility>

namespace {

template <typename Widget>
Widget* place(Widget* widget, const QString& name, int left, int top, int width, int height)
{
    widget->setObjectName(name);
    widget->setGeometry(Twips::rect(left, top, width, height));
    return widget;
}

QComboBox* dateList(QWidget* parent, const QString& name, int left, int width)
{
    auto* list = place(new FreeTextComboBox(parent), name, left, 120, width, 300);
    list->setEditText(kAnyDate);
    return list;
}

QScrollBar* spinner(QWidget* parent, const QString& name, int left, int maximum, int largeStep)
{
    auto* bar = place(new QScrollBar(Qt::Vertical, parent), name, left, 360, 255, 1575);
    bar->setRange(-1, maximum);
    bar->setSingleStep(1);
    bar->setPageStep(largeStep);
    // A scroll bar takes the focus on click only with this policy, and it hides when it loses it.
    bar->setFocusPolicy(Qt::StrongFocus);
    bar->hide();
    return bar;
}

} // namespace

EditorPanel::EditorPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Picture1"));
    setAutoFillBackground(true);

    const QStringList captions{QStringLiteral("时  间:"), QStringLiteral("提示语:"),
                               QStringLiteral("铃  声:"), QStringLiteral("操  作:"), QStringLiteral("星期:")};
    const int labelTops[] = {120, 480, 840, 1200, 1680};
    for (int i = 0; i < 5; ++i) {
        const bool weekdays = i == 4;
        Label1[i] = place(new QLabel(captions[i], this), QStringLiteral("Label1(%1)").arg(i),
                          weekdays ? 1200 : 240, labelTops[i], weekdays ? 525 : 735, 210);
        Label1[i]->setFont(Twips::font(QStringLiteral("宋体"), 10.5));
    }

    Ttime = place(new QLineEdit(QStringLiteral("8:25"), this), QStringLiteral("Ttime"), 1200, 120, 615, 270);
    VScroll1 = spinner(this, QStringLiteral("VScroll1"), 1200, 24, 3);
    VScroll2 = spinner(this, QStringLiteral("VScroll2"), 1560, 60, 5);
    Cyy = dateList(this, QStringLiteral("Cyy"), 1920, 975);
    Cmm = dateList(this, QStringLiteral("Cmm"), 2880, 855);
    Cdd = dateList(this, QStringLiteral("Cdd"), 3720, 855);
    Tslogan = place(new QLineEdit(QStringLiteral("[上课了]"), this), QStringLiteral("Tslogan"), 1200, 480,
                    3375, 270);
    Tmus = place(new QLineEdit(QStringLiteral("C:\\music\\task.wav"), this), QStringLiteral("Tmus"), 1200,
                 840, 2415, 270);
    Command6 =
        place(new QPushButton(QStringLiteral("设定"), this), QStringLiteral("Command6"), 3720, 840, 855, 255);
    Cml = place(new FreeTextComboBox(this), QStringLiteral("Cml"), 1200, 1200, 3375, 300);
    Cml->setEditText(QStringLiteral("关机(提示)"));
    Check1 =
        place(new QCheckBox(QStringLiteral("开启"), this), QStringLiteral("Check1"), 240, 1680, 855, 255);
    Check1->setChecked(true);

    const QStringList days{QStringLiteral("日"), QStringLiteral("一"), QStringLiteral("二"),
                           QStringLiteral("三"), QStringLiteral("四"), QStringLiteral("五"),
                           QStringLiteral("六")};
    for (int day = 0; day < 7; ++day) {
        auto* button = place(new QPushButton(days[day], this), QStringLiteral("ToggleButton1(%1)").arg(day),
                             1800 + 360 * day, 1620, 375, 375);
        // Checkable push buttons stay pressed while ticked.
        button->setCheckable(true);
        button->setAccessibleName(QStringLiteral("星期") + days[day]);
        ToggleButton1[day] = button;
    }

    Check2 = place(new QCheckBox(QStringLiteral("开机启动"), this), QStringLiteral("Check2"), 240, 2160, 1095,
                   255);
    Command5 = place(new QPushButton(QStringLiteral("取消"), this), QStringLiteral("Command5"), 1800, 2160,
                     1215, 255);
    Command4 =
        place(new QPushButton(QStringLiteral("好"), this), QStringLiteral("Command4"), 3360, 2160, 1215, 255);
    bindFields();
    nameFields();
    connectRules();
}

void EditorPanel::bindFields()
{
    // In the order of alarmFields(): a new field puts its control in its place here.
    std::size_t next = 0;
    for (FieldControl control :
         {FieldControl(Ttime), FieldControl(Cyy), FieldControl(Cmm), FieldControl(Cdd), FieldControl(Tslogan),
          FieldControl(Tmus), FieldControl(Cml), FieldControl(Check1)})
        m_fieldControls[next++] = control;
    for (QPushButton* day : ToggleButton1)
        m_fieldControls[next++] = day;
    Q_ASSERT(next == m_fieldControls.size());
}

void EditorPanel::nameFields()
{
    // What a screen reader says for each field: its label's words, without the padding that
    // lines the labels up. The date lists would otherwise be named after their text.
    const std::pair<QWidget*, QString> names[] = {
        {Ttime, QStringLiteral("时间")},     {Cyy, QStringLiteral("年")},
        {Cmm, QStringLiteral("月")},         {Cdd, QStringLiteral("日")},
        {VScroll1, QStringLiteral("小时")},  {VScroll2, QStringLiteral("分钟")},
        {Tslogan, QStringLiteral("提示语")}, {Tmus, QStringLiteral("铃声")},
        {Cml, QStringLiteral("操作")},
    };
    for (const auto& [field, name] : names) {
        field->setAccessibleName(name);
        // A list's typing field is the same field to the listener.
        if (auto* list = qobject_cast<QComboBox*>(field))
            list->lineEdit()->setAccessibleName(name);
    }
    Label1[0]->setBuddy(Ttime);
    Label1[1]->setBuddy(Tslogan);
    Label1[2]->setBuddy(Tmus);
    Label1[3]->setBuddy(Cml);
}

void EditorPanel::keyPressEvent(QKeyEvent* event)
{
    // Esc from any control of the panel that does not use it itself.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        emit cancelRequested();
        return;
    }
    QWidget::keyPressEvent(event);
}

void EditorPanel::connectRules()
{
    using TimeText::Spinner;
    Ttime->installEventFilter(this);
    VScroll1->installEventFilter(this);
    VScroll2->installEventFilter(this);
    connect(VScroll1, &QScrollBar::valueChanged, this,
            [this](int value) { VScroll_Change(Spinner::Hours, value); });
    connect(VScroll2, &QScrollBar::valueChanged, this,
            [this](int value) { VScroll_Change(Spinner::Minutes, value); });
    // Picking an item runs the cue; typing does not.
    for (QComboBox* list : {Cyy, Cmm, Cdd})
        connect(static_cast<FreeTextComboBox*>(list), &FreeTextComboBox::picked, this,
                [this, list] { applyDateCue(list); });
    connect(Tmus, &QLineEdit::textChanged, this, &EditorPanel::applySoundCue);
    for (QLineEdit* field : {Ttime, Tslogan, Tmus})
        connect(field, &QLineEdit::returnPressed, this, &EditorPanel::saveRequested);
    connect(Command4, &QPushButton::clicked, this, &EditorPanel::saveRequested);
    connect(Command5, &QPushButton::clicked, this, &EditorPanel::cancelRequested);
    connect(Command6, &QPushButton::clicked, this, &EditorPanel::soundFileRequested);
}

namespace {
template <typename... Handlers> struct Overloaded : Handlers...
{
    using Handlers::operator()...;
};
template <typename... Handlers> Overloaded(Handlers...) -> Overloaded<Handlers...>;

// The text a field's control shows: a line's text, a list's text as it stands, a tick as "1" or "0".
template <typename Control> QString controlText(const Control& control)
{
    return std::visit(Overloaded{[](const QLineEdit* line) { return line->text(); },
                                 [](const QComboBox* list) { return list->currentText(); },
                                 [](const QAbstractButton* tick) {
                                     return tick->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
                                 }},
                      control);
}

template <typename Control> void setControlText(const Control& control, const QString& text)
{
    std::visit(Overloaded{[&text](QLineEdit* line) { line->setText(text); },
                          [&text](QComboBox* list) { list->setEditText(text); },
                          [&text](QAbstractButton* tick) { tick->setChecked(text == QLatin1String("1")); }},
               control);
}
} // namespace

void EditorPanel::load(const AlarmEntry& entry)
{
    for (std::size_t i = 0; i < m_fieldControls.size(); ++i)
        setControlText(m_fieldControls[i], alarmFields()[i].write(entry));
    // The file may have come or gone since the text was last set.
    applySoundCue();
    for (QComboBox* list : {Cyy, Cmm, Cdd})
        applyDateCue(list);
}

AlarmEntry EditorPanel::fields() const
{
    AlarmEntry fields;
    for (std::size_t i = 0; i < m_fieldControls.size(); ++i)
        alarmFields()[i].read(fields, controlText(m_fieldControls[i]));
    return fields;
}

void EditorPanel::setChoices(const QStringList& years, const QStringList& months, const QStringList& days,
                             const QStringList& actions)
{
    // Adding items to an editable list selects the first; each list keeps the text it showed.
    const auto fill = [](QComboBox* list, const QStringList& items) {
        const QString shown = list->currentText();
        list->addItems(items);
        list->setEditText(shown);
    };
    fill(Cml, actions);
    fill(Cyy, years);
    fill(Cmm, months);
    fill(Cdd, days);
}

void EditorPanel::setFieldFont(const QFont& font)
{
    for (QWidget* field : std::initializer_list<QWidget*>{Cyy, Cmm, Cdd, Ttime, Tslogan, Tmus, Cml})
        field->setFont(font);
}

void EditorPanel::focusTime()
{
    Ttime->selectAll();
    Ttime->setFocus();
}

void EditorPanel::showSavedTime(const QString& time)
{
    Ttime->setText(time);
}

QString EditorPanel::soundFile() const
{
    return Tmus->text();
}

void EditorPanel::setSoundFile(const QString& path)
{
    Tmus->setText(path);
}

bool EditorPanel::startsWithSession() const
{
    return Check2->isChecked();
}

void EditorPanel::setStartsWithSession(bool on)
{
    Check2->setChecked(on);
}

void EditorPanel::setToday(std::function<QDate()> today)
{
    m_today = std::move(today);
}

void EditorPanel::Ttime_Click(int caret)
{
    using namespace TimeText;
    const Spinner spinner = spinnerForCaret(caret);
    QScrollBar* shown = spinnerFor(spinner);
    spinnerFor(spinner == Spinner::Hours ? Spinner::Minutes : Spinner::Hours)->hide();
    // The spinner overlaps the fields below the time; its arrows and track must take the clicks.
    shown->raise();
    shown->show();
    // A number the spinner cannot hold (99:99) leaves spinner and text alone until the user moves it.
    const SpinnerReading reading = readSpinner(Ttime->text(), spinner);
    if (reading.inRange)
        shown->setValue(reading.value);
}

void EditorPanel::VScroll_Change(TimeText::Spinner spinner, int value)
{
    const int wrapped = TimeText::wrapped(spinner, value);
    if (wrapped != value) {
        // Setting the wrapped value runs this again, which rewrites the text.
        spinnerFor(spinner)->setValue(wrapped);
        return;
    }
    Ttime->setText(TimeText::rewritten(Ttime->text(), spinner, value));
}

void EditorPanel::Ttime_LostFocus()
{
    Ttime->setText(TimeText::normalised(Ttime->text()));
}

void EditorPanel::applyDateCue(QComboBox* list)
{
    const DateCue::Field field = list == Cyy   ? DateCue::Field::Year
                                 : list == Cmm ? DateCue::Field::Month
                                               : DateCue::Field::Day;
    QPalette palette = list->palette();
    palette.setColor(QPalette::Text, cueColour(DateCue::cue(field, list->currentText(), m_today())));
    list->setPalette(palette);
}

void EditorPanel::applySoundCue()
{
    QPalette palette = Tmus->palette();
    palette.setColor(QPalette::Text, cueColour(SoundCue::cue(Tmus->text())));
    Tmus->setPalette(palette);
}

QColor EditorPanel::cueColour(CueColour cue)
{
    switch (cue) {
    case CueColour::Blue:
        return QColor(0, 0, 255);
    case CueColour::Red:
        return QColor(255, 0, 0);
    case CueColour::Black:
        break;
    }
    return QColor(0, 0, 0);
}

bool EditorPanel::eventFilter(QObject* watched, QEvent* event)
{
    // Focus that goes to another window or to a context menu comes back to the same control, so
    // the control has not been left: a half-typed time must not be padded behind the user's back.
    const auto leaves = [event] {
        if (event->type() != QEvent::FocusOut)
            return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
    };
    if (watched == Ttime && event->type() == QEvent::MouseButtonRelease)
        Ttime_Click(Ttime->cursorPosition());
    else if (watched == Ttime && leaves())
        Ttime_LostFocus();
    else if ((watched == VScroll1 || watched == VScroll2) && leaves())
        static_cast<QWidget*>(watched)->hide();
    return QWidget::eventFilter(watched, event);
}

QScrollBar* EditorPanel::spinnerFor(TimeText::Spinner spinner) const
{
    return spinner == TimeText::Spinner::Hours ? VScroll1 : VScroll2;
}
