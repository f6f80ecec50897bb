#include "app/AlarmListView.h"

#include "app/RingingAnnouncer.h"
#include "app/RowBar.h"
#include "engine/AlarmEngine.h"
#include "engine/NamedTimer.h"
#include "widgets/ListRowDelegate.h"
#include "widgets/Twips.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <utility>

AlarmListView::AlarmListView(AlarmEngine& engine, QWidget& window) : QObject(&window), m_engine(engine)
{
    List1 = new QListWidget(&window);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setAccessibleName(QStringLiteral("闹钟列表"));
    List1->setGeometry(Twips::rect(120, 120, 4815, 1860));
    List1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    List1->setLineWidth(2);
    List1->setUniformItemSizes(true);
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    List1->setItemDelegate(new ListRowDelegate(List1));

    for (int i = 0; i < kSlotCount; ++i) {
        auto* bar = new RowBar(&window);
        bar->setObjectName(QStringLiteral("Ptt(%1)").arg(i));
        bar->resize(Twips::toPixels(4725), Twips::toPixels(i == 0 ? 180 : 195));
        Ptt[i] = bar;
    }

    Command1 = new QPushButton(QStringLiteral("更改"), &window);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(Twips::rect(120, 2160, 1215, 255));
    Command1->setEnabled(false);

    Timer2 = namedTimer(this, QStringLiteral("Timer2"), 390);
    connect(Timer2, &QTimer::timeout, this, &AlarmListView::Timer2_Timer);
    connectList();
    connectEngine();
}

void AlarmListView::connectList()
{
    connect(List1, &QListWidget::itemClicked, this, [this] {
        m_mouseSelected = false;
        List1_Click();
    });
    // Selecting with the keyboard counts as a click too; a mouse click is handled once, on its
    // release. The current row that a list sets for itself on getting the focus is no selection.
    connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
        if (QGuiApplication::mouseButtons() == Qt::NoButton)
            List1_Click();
        else
            m_mouseSelected = true;
    });
    // A selection dragged to another row ends without a click; its release counts as one.
    List1->viewport()->installEventFilter(this);
    // Enter on a row opens it as a double-click does.
    List1->installEventFilter(this);
    connect(Command1, &QPushButton::clicked, this, &AlarmListView::Command1_Click);
    connect(List1, &QListWidget::itemDoubleClicked, this, &AlarmListView::List1_DblClick);
}

void AlarmListView::connectEngine()
{
    AlarmEngine& engine = m_engine;
    for (int slot = 0; slot < kSlotCount; ++slot)
        connect(Ptt[slot], &RowBar::clicked, &engine, [&engine, slot] { engine.Ptt_Click(slot); });
    connect(&engine, &AlarmEngine::ringingStarted, this, [this](int slot, const QString& line) {
        Timer2->start();
        Ptt[slot]->setLine(line);
        Ptt[slot]->setRinging(true);
    });
    connect(&engine, &AlarmEngine::ringingStopped, this, [this](int slot, bool anyRinging) {
        Ptt[slot]->setRinging(false);
        if (!anyRinging)
            Timer2->stop();
    });
    new RingingAnnouncer(engine, *List1, this);
    connect(&engine, &AlarmEngine::slotFired, this, [this](int slot) {
        if (List1->item(slot)->isSelected())
            Command1->setEnabled(false);
    });
}

void AlarmListView::loadRows()
{
    for (int i = 0; i < kSlotCount; ++i) {
        Ptt[i]->move(Twips::toPixels(180), Twips::toPixels(150 + 180 * i));
        auto* item = new QListWidgetItem(m_engine.listLine(i));
        // Rows as far apart as the row bars laid over them.
        item->setSizeHint(QSize(1, ListRowDelegate::kRowHeight));
        List1->addItem(item);
    }
}

void AlarmListView::showRow(int slot)
{
    List1->item(slot)->setText(m_engine.listLine(slot));
}

void AlarmListView::setListFont(const QFont& font)
{
    List1->setFont(font);
    List1->resize(List1->width(), Twips::toPixels(1860));
}

void AlarmListView::Timer2_Timer()
{
    for (RowBar* bar : Ptt) {
        if (bar->isRinging())
            bar->setLit(!bar->isLit());
    }
}

void AlarmListView::List1_Click()
{
    const int row = selectedRow();
    const bool ringing = row >= 0 && m_engine.isRinging(row);
    Command1->setEnabled(row >= 0 && !ringing);
    emit clicked();
    if (ringing)
        m_engine.Ptt_Click(row);
}

int AlarmListView::selectedRow() const
{
    const QListWidgetItem* current = List1->currentItem();
    return current && current->isSelected() ? List1->row(current) : -1;
}

void AlarmListView::Command1_Click()
{
    const int slot = selectedRow();
    if (slot >= 0)
        emit openRequested(slot);
}

void AlarmListView::List1_DblClick()
{
    Command1_Click();
}

bool AlarmListView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == List1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && List1->currentItem()) {
            // The click rule first, as a double-click's first click runs it.
            if (List1->currentItem()->isSelected())
                List1_Click();
            else
                List1->setCurrentRow(List1->currentRow(), QItemSelectionModel::ClearAndSelect);
            List1_DblClick();
            return true;
        }
    }
    if (watched == List1->viewport() && event->type() == QEvent::MouseButtonRelease) {
        // Once the list has handled the release: a click it reports has been handled already.
        QTimer::singleShot(0, this, [this] {
            if (std::exchange(m_mouseSelected, false))
                List1_Click();
        });
    }
    return QObject::eventFilter(watched, event);
}
