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

private:
    int master_ = -1;
    int keepOpen_ = -1;  // held so that our end stays usable while no program has the port open
    std::string path_;
};

}  // namespace veltrin::sim
