#pragma once

#include <QString>
#include <QStringList>

namespace quillary {

// What the program was asked to do on its command line:
//   quillary [FILE]      open FILE in the first record window
//   quillary --help      print the usage and end
//   quillary --version   print the version and end
struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    // The data file to open first, made absolute against the folder the
    // program was started in; empty for the most recent file.
    QString file;
    // What to print for Help, Version and Error.
    QString output;
    // The hidden --startup-time: report how long the start took, then end.
    bool reportStartup = false;
};

// arguments as main() gets them, the program's name first. The caller has
// set the application's name and version.
CommandLine parseCommandLine(const QStringList& arguments, const QString& currentFolder);

// Whether the arguments ask only for text (--help, --version), which needs
// no display, so the program can answer before it starts its windows.
bool asksForTextOnly(const QStringList& arguments);

} // namespace quillary
