#include "schedule/FreeTextComboBox.h"

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

} // namespace

FreeTextComboBox::FreeTextComboBox(QWidget* parent) : QComboBox(parent)
{
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
