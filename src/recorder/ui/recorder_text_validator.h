#pragma once
// What may be typed into a field whose text is sent to the recorder inside a
// command: printable Latin-1 without ",", "*" and "$", which would split or
// end the command sentence on the recorder.

#include <QValidator>

namespace veltrin {

// A validator for such fields, owned by `parent`.
QValidator* MakeRecorderTextValidator(QObject* parent);

}  // namespace veltrin
