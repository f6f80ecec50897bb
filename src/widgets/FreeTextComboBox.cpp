#include "widgets/FreeTextComboBox.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <utility>

namespace {

// Knows when the typing ends. At that moment QComboBox looks for an item with the typed text
// and reports it as activated, though the user chose nothing.
class TypingField : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;
    bool typingEnds() const { return m_typingEnds; }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        const bool previous = std::exchange(m_typingEnds, m_typingEnds || enter);
        QLineEdit::keyPressEvent(event);
        m_typingEnds = previous;
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        const bool previous = std::exchange(m_typingEnds, true);
        QLineEdit::focusOutEvent(event);
        m_typingEnds = previous;
    }

private:
    bool m_typingEnds = false;
};

// The list as assistive technologies see it: named as the field it is, with its text as its
// value. Qt names a list after its text on Linux, which says nothing of what the list is for.
class NamedListInterface : public QAccessibleWidget
{
public:
    explicit NamedListInterface(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return list()->currentText();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        state.expandable = true;
        state.expanded = list()->view()->isVisible();
        state.collapsed = !state.expanded;
        return state;
    }

private:
    QComboBox* list() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* namedListFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("FreeTextComboBox") && object && object->isWidgetType())
        return new NamedListInterface(static_cast<QComboBox*>(object));
    return nullptr;
}

} // namespace

FreeTextComboBox::FreeTextComboBox(QWidget* parent) : QComboBox(parent)
{
    static const bool named = [] {
        QAccessible::installFactory(namedListFactory);
        return true;
    }();
    Q_UNUSED(named);
    auto* field = new TypingField(this);
    setLineEdit(field);
    setInsertPolicy(QComboBox::NoInsert);
    // Without a completer the list also compares typed text with its items case-sensitively.
    setCompleter(nullptr);
    connect(this, &QComboBox::activated, this, [this, field](int index) {
        if (!field->typingEnds())
            emit picked(index);
    });
}
