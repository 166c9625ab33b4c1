#pragma once

class QLineEdit;

namespace wendle {

// A locked one-line box read to a screen reader whole. Qt 6.4 answers a
// line edit's text-attribute requests with empty runs, and a screen reader
// that reads a line run by run (Orca) then drops its last character. Call
// before the box is first read.
void readLockedLineWhole(QLineEdit *box);

} // namespace wendle
