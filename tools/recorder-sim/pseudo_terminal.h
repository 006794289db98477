#pragma once
// A pseudo-terminal whose other end plays the recorder's serial port.

#include <string>

namespace veltrin::sim {

class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Opens the pair in raw mode (no echo, no line-end translation). False on failure.
    bool Open();
    // Path of the end the program opens, e.g. /dev/pts/4.
    const std::string& Path() const { return path_; }
    // Our end: non-blocking, read for commands, written with replies.
    int Fd() const { return master_; }

    // True while no program holds the other end open after one (or the
    // raw-mode setup) has closed it. Our end then reports a hang-up at once
    // on every poll and fails to read once the commands left are taken.
    bool HungUp() const;
    // Drops what was written to the other end and not read there, so that
    // it does not reach the next program to open it.
    void DropUnreadReplies();

private:
    int master_ = -1;
    std::string path_;
};

}  // namespace veltrin::sim
