#pragma once
// Clearing the recorder's stored overload events: over the link, or through
// a command file on its SD card.

#include "recorder/card/removable_volumes.h"

class QWidget;

namespace veltrin {

class RecorderSession;
class UserPrompts;

// Beeps, asks for confirmation and on OK sends "CLREVT". Returns whether it
// was sent.
bool ClearEventsByLink(QWidget* parent, RecorderSession& session, UserPrompts& prompts);

// How the card way ended.
enum class CardClearing {
    Cancelled,       // no drive chosen, or the events dialog was cancelled
    NoEventFiles,    // the card has no event file
    NoEvents,        // the event file holds no line
    CommandWritten,  // the command file is on the card
    WriteFailed,     // the command file could not be written
};

// Lets the user choose the card, shows its last events, asks for serial
// number and password and writes the command file, telling the user the
// outcome. The configuration wizard closes after CommandWritten and WriteFailed.
CardClearing ClearEventsByCard(QWidget* parent, UserPrompts& prompts,
                               const card::VolumeLister& volumes);

}  // namespace veltrin
