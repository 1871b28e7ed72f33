#include "platform/settingsstore.h"

#include <QSettings>

namespace quillary {

namespace {
const QString kSection = QStringLiteral("Startup/");
}

SettingsStore::SettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QStringLiteral("Quillary"), QStringLiteral("Quillary")))
{
}

SettingsStore::SettingsStore(const QString& iniPath)
    : settings_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::get(const QString& key, const QString& defaultValue) const
{
    return settings_->value(kSection + key, defaultValue).toString();
}

bool SettingsStore::contains(const QString& key) const
{
    return settings_->contains(kSection + key);
}

void SettingsStore::save(const QString& key, const QString& value)
{
    settings_->setValue(kSection + key, value);
    settings_->sync();
}

void SettingsStore::save(const QList<std::pair<QString, QString>>& entries)
{
    for (const auto& [key, value] : entries)
        settings_->setValue(kSection + key, value);
    settings_->sync();
}

} // namespace quillary
