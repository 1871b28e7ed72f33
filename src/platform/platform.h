#pragma once

// platform/: the thin layer over the system. Two libraries: the Core
// services (fileservices, filelock, localeservices, settingsstore, errors),
// which everything may use, and the widget services (dialogs, printer, the
// help window, fonts, twips, menus), which the session, the forms and the
// frame use. Nothing in it knows the program's other folders.

namespace quillary {

class Dialogs;
class FileServices;
class HelpService;
class Printer;
class SettingsStore;

// The platform services a window is given. The program owns one set; tests
// build one from scripted parts.
struct Platform {
    Dialogs& dialogs;
    SettingsStore& settings;
    FileServices& files;
    HelpService& help;
    Printer& printer;
};

} // namespace quillary
