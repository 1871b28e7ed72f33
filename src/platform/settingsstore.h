#pragma once

#include <QList>
#include <QString>
#include <utility>
#include <memory>

class QSettings;

namespace quillary {

// The per-user store of the recent-files list: application "Quillary",
// section "Startup".
class SettingsStore {
public:
    // The user's native store.
    SettingsStore();
    // An INI file at iniPath; tests use one in a temporary folder.
    explicit SettingsStore(const QString& iniPath);
    ~SettingsStore();

    QString get(const QString& key, const QString& defaultValue = QString()) const;
    bool contains(const QString& key) const;
    void save(const QString& key, const QString& value);
    // Several entries, in order, written to the disk together.
    void save(const QList<std::pair<QString, QString>>& entries);

private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace quillary
