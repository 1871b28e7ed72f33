#pragma once

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
