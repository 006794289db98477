#include "recorder/ui/event_clearing.h"

#include "recorder/card/card_constants.h"
#include "recorder/card/card_files.h"
#include "recorder/card/command_file.h"
#include "recorder/recorder_commands.h"
#include "recorder/recorder_session.h"
#include "recorder/ui/config_ui_constants.h"
#include "recorder/ui/text_bytes.h"
#include "recorder/ui/user_prompts.h"

#include <QApplication>
#include <QStringList>

#include <filesystem>

namespace veltrin {

bool ClearEventsByLink(QWidget* parent, RecorderSession& session, UserPrompts& prompts)
{
    QApplication::beep();
    const QMessageBox::StandardButton answer = prompts.ShowMessage(
        parent, QMessageBox::Critical, QString::fromUtf8(config_ui::kConfirmClear),
        QMessageBox::Ok | QMessageBox::Cancel);
    if (answer != QMessageBox::Ok)
        return false;
    return session.SendCommand(recorder_commands::kClearEvents);
}

CardClearing ClearEventsByCard(QWidget* parent, UserPrompts& prompts,
                               const card::VolumeLister& volumes)
{
    const std::optional<QString> chosen = prompts.SelectCardDrive(parent, volumes);
    if (!chosen)
        return CardClearing::Cancelled;
    const std::filesystem::path root = chosen->toStdString();

    std::filesystem::path eventFile = card::FindCardFile(root, card::kLastEventsFile);
    if (!card::FileExists(eventFile)) {
        eventFile = card::FindCardFile(root, card::kEventsFile);
        if (!card::FileExists(eventFile)) {
            prompts.ShowMessage(parent, QMessageBox::Critical,
                                QString::fromUtf8(config_ui::kNoEventFiles));
            return CardClearing::NoEventFiles;
        }
    }

    const std::vector<std::string> newestFirst = card::ReadLinesNewestFirst(eventFile);
    if (newestFirst.empty()) {
        prompts.ShowMessage(parent, QMessageBox::Critical, QString::fromUtf8(config_ui::kNoEvents));
        return CardClearing::NoEvents;
    }
    const std::string& lastLine = newestFirst.front();
    QStringList lines;
    for (const std::string& line : newestFirst)
        lines.append(TextFromBytes(line));

    const std::optional<EventsClearingAnswer> answer =
        prompts.AskForEventsClearing(parent, lines.join('\n'));
    if (!answer)
        return CardClearing::Cancelled;

    const bool written = card::WriteCommandFile(card::FindCardFile(root, card::kCommandFile),
                                                BytesFromText(answer->password),
                                                BytesFromText(answer->serialNumber), lastLine);
    prompts.ShowMessage(parent, QMessageBox::Information,
                        QString::fromUtf8(written ? config_ui::kCommandFileWritten
                                                  : config_ui::kCommandFileFailed));
    return written ? CardClearing::CommandWritten : CardClearing::WriteFailed;
}

}  // namespace veltrin
