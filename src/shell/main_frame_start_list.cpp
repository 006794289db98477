// The start list of the main frame: one item per UTC day, below it one item
// per start of that day, carrying the start's index.
#include "shell/main_frame.h"

#include "data/start_reader.h"
#include "data/start_text.h"
#include "shell/shell_constants.h"
#include "shell/wait_cursor.h"

#include <QFont>
#include <QPalette>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace veltrin {

namespace {

// Start index of a day item, and what stands for "no start selected".
constexpr int kNoStartIndex = -1;

int ItemStartIndex(const QTreeWidgetItem* item)
{
    return item ? item->data(0, kStartIndexRole).toInt() : kNoStartIndex;
}

// The item text of a start: its start time, and its landing time once its
// data file has been read and holds one.
QString StartItemText(const StartRecord& start)
{
    return QString::fromStdString(start.loaded ? StartTimeText(start)
                                               : TimeOfDayText(start.startTime));
}

// Text, weight, colour and tool tip of a start's item: bold while the graphs
// show it, greyed once its file turned out to hold no sample, so that such a
// start does not look like a flight of zeros.
void StyleStartItem(QTreeWidgetItem& item, const StartRecord& start, bool shown)
{
    item.setText(0, StartItemText(start));
    QFont font = item.font(0);
    font.setBold(shown);
    item.setFont(0, font);
    const bool empty = start.loaded && start.samples.empty();
    const QPalette palette = item.treeWidget() ? item.treeWidget()->palette() : QPalette();
    item.setForeground(
        0, palette.brush(empty ? QPalette::Disabled : QPalette::Active, QPalette::Text));
    item.setToolTip(0, empty ? QString::fromUtf8(kNoSamplesTip) : QString());
}

}  // namespace

void CMainFrame::FillStartList()
{
    // Rebuilding drops the selection without a selection notification: the
    // status bar keeps its text until the user picks another item.
    const QSignalBlocker quiet(startList_);
    startList_->clear();
    for (std::size_t i = 0; i < recording_.size(); ++i) {
        const StartRecord& start = recording_[i];
        const QString dayText = QString::fromStdString(DayText(start.startTime));
        QTreeWidgetItem* day = FindDateItem(dayText);
        if (!day) {
            day = new QTreeWidgetItem(startList_, QStringList(dayText));
            day->setData(0, kStartIndexRole, kNoStartIndex);
        }
        auto* item = new QTreeWidgetItem(day);
        item->setData(0, kStartIndexRole, static_cast<int>(i));
        StyleStartItem(*item, start, static_cast<int>(i) == shownStart_);
    }
}

void CMainFrame::RestyleStartItem(int index)
{
    const StartRecord* start = StartAt(index);
    if (!start)
        return;
    for (int d = 0; d < startList_->topLevelItemCount(); ++d) {
        QTreeWidgetItem* day = startList_->topLevelItem(d);
        for (int s = 0; s < day->childCount(); ++s) {
            QTreeWidgetItem* item = day->child(s);
            if (ItemStartIndex(item) == index)
                StyleStartItem(*item, *start, index == shownStart_);
        }
    }
}

QTreeWidgetItem* CMainFrame::FindDateItem(const QString& text) const
{
    for (int i = 0; i < startList_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = startList_->topLevelItem(i);
        if (item->text(0) == text)
            return item;
    }
    return nullptr;
}

int CMainFrame::SelectedStartIndex() const
{
    const QList<QTreeWidgetItem*> selected = startList_->selectedItems();
    if (selected.isEmpty())
        return kNoStartIndex;
    const int index = ItemStartIndex(selected.constFirst());
    return index >= 0 && static_cast<std::size_t>(index) < recording_.size() ? index
                                                                             : kNoStartIndex;
}

StartRecord* CMainFrame::StartAt(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= recording_.size())
        return nullptr;
    return &recording_[static_cast<std::size_t>(index)];
}

bool CMainFrame::ReadStart(int index)
{
    StartRecord* start = StartAt(index);
    if (!start)
        return false;
    if (start->loaded)
        return true;
    bool read = false;
    {
        WaitCursor wait;
        read = LoadStartData(*start);
    }
    if (!read)
        return false;
    // Now that the landing time is known, the start's item shows it.
    RestyleStartItem(index);
    return true;
}

void CMainFrame::ShowStartValues()
{
    SetStatusText(QString());
    const int index = SelectedStartIndex();
    if (index < 0)
        return;
    ReadStart(index);
    SetStatusText(QString::fromStdString(StartValuesText(*StartAt(index))));
}

void CMainFrame::OnStartDoubleClick()
{
    // On a day item the tree only opens or closes it.
    const int index = SelectedStartIndex();
    if (index >= 0)
        ShowStart(index);
}

}  // namespace veltrin
