#pragma once
// Scripted answers to the wizard's modal questions, and a record of what
// was asked.

#include "recorder/ui/user_prompts.h"

#include <deque>
#include <utility>
#include <vector>

namespace veltrin::testing {

struct ShownMessage {
    QMessageBox::Icon icon;
    QString text;
};

class FakePrompts final : public UserPrompts {
public:
    QMessageBox::StandardButton ShowMessage(QWidget*, QMessageBox::Icon icon, const QString& text,
                                            QMessageBox::StandardButtons) override
    {
        messages.push_back({icon, text});
        if (buttonAnswers.empty())
            return QMessageBox::Ok;
        const QMessageBox::StandardButton answer = buttonAnswers.front();
        buttonAnswers.pop_front();
        return answer;
    }

    std::optional<QString> SelectCardDrive(QWidget*, const card::VolumeLister&) override
    {
        return drive;
    }

    std::optional<EventsClearingAnswer> AskForEventsClearing(QWidget*, const QString& text) override
    {
        eventsTexts.push_back(text);
        return eventsAnswer;
    }

    std::deque<QMessageBox::StandardButton> buttonAnswers;
    std::optional<QString> drive;
    std::optional<EventsClearingAnswer> eventsAnswer;

    std::vector<ShownMessage> messages;
    std::vector<QString> eventsTexts;
};

}  // namespace veltrin::testing
