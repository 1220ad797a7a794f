#pragma once

#include "settings.h"

#include <QString>
#include <QtGlobal>
#include <optional>

// The key of a setting named in a table of cases; a name that is no setting
// stops the test at once.
inline SettingKey settingKey(const QString &name)
{
    const std::optional<SettingKey> key = Settings::keyOf(name);
    if (!key)
        qFatal("unknown setting %s", qPrintable(name));
    return *key;
}

inline SettingKey settingKey(SettingKey key)
{
    return key;
}
