#include "settings.h"

#include <QHash>

namespace {

constexpr int kNoMin = 0;
constexpr int kNoMax = 0;

using K = SettingKind;
using S = SettingStore;
using I = ItemList;
using R = ReadRule;

// key, kind, store, initial, caption, min, max, hasRange, items, read rule, read default
#define PRUVEX_SETTING_ROW(key, ...) {#key, SettingKey::key, __VA_ARGS__},
const std::vector<SettingDef> kSettings = {PRUVEX_SETTINGS(PRUVEX_SETTING_ROW)
};
#undef PRUVEX_SETTING_ROW

const QHash<QString, int> &keyIndex()
{
    static const QHash<QString, int> index = [] {
        QHash<QString, int> h;
        for (int i = 0; i < int(kSettings.size()); ++i)
            h.insert(QString::fromLatin1(kSettings[size_t(i)].key), i);
        return h;
    }();
    return index;
}

} // namespace

namespace Settings {

const std::vector<SettingDef> &all()
{
    return kSettings;
}

int count()
{
    return int(kSettings.size());
}

const SettingDef &def(SettingKey key)
{
    return kSettings[size_t(key)];
}

QString keyName(SettingKey key)
{
    return QString::fromLatin1(def(key).key);
}

std::optional<SettingKey> keyOf(const QString &name)
{
    const int i = keyIndex().value(name, -1);
    if (i < 0)
        return std::nullopt;
    return SettingKey(i);
}

const std::vector<AddressField> &addressFields()
{
    static const std::vector<AddressField> fields = {
        {SettingKey::chkName, SettingKey::edtLName, "LName", SettingKey::chkForName, "Name", "pnlName"},
        {SettingKey::chkVorname, SettingKey::edtLVorname, "LVorname", SettingKey::chkForVorname, "Vorname", "pnlVorname"},
        {SettingKey::chkStrasse, SettingKey::edtLStr, "LStrasse", SettingKey::chkForStr, "Straße", "pnlStreet"},
        {SettingKey::chkPLZ, SettingKey::edtLPLZ, "LPLZ", SettingKey::chkForPlz, "PLZ", "pnlPLZ"},
        {SettingKey::chkOrt, SettingKey::edtLOrt, "LORT", SettingKey::chkForOrt, "Ort", "pnlOrt"},
        {SettingKey::chkLand, SettingKey::edtLLand, "LLAND", SettingKey::chkForLand, "Land", "pnlLand"},
        {SettingKey::chkEmail, SettingKey::edtLEmail, "LEMAIL", SettingKey::chkForEmail, "E-Mail", "pnlEmail"},
    };
    return fields;
}

QStringList items(ItemList list)
{
    switch (list) {
    case ItemList::Fonts:
        return {QStringLiteral("Arial,Helvetica,Geneva"), QStringLiteral("Verdana,Arial,Geneva"),
                QStringLiteral("Comic Sans MS,Sans Serif,Geneva"), QStringLiteral("Times New Roman,Serif"),
                QStringLiteral("Trebuchet MS,Verdana,Geneva")};
    case ItemList::BorderStyles:
        return {QStringLiteral("dotted"), QStringLiteral("dashed"), QStringLiteral("solid"), QStringLiteral("groove"),
                QStringLiteral("double"), QStringLiteral("rigde"),  QStringLiteral("inset"), QStringLiteral("outset")};
    case ItemList::Units:
        return {QStringLiteral("px"), QStringLiteral("pc"), QStringLiteral("in"), QStringLiteral("cm"),
                QStringLiteral("mm"), QStringLiteral("em"), QStringLiteral("ex")};
    case ItemList::Encodings:
        return {QStringLiteral("iso-8859-1"), QStringLiteral("utf-8")};
    case ItemList::FormMailers:
    case ItemList::None:
        break;
    }
    return {};
}

QString initialFormMailer()
{
    return QString::fromUtf8(def(SettingKey::cboFormMailer).initial);
}

QString flagText(bool on)
{
    return on ? QStringLiteral("-1") : QStringLiteral("0");
}

bool parseFlag(const QString &text, bool *on)
{
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
        *on = true;
        return true;
    }
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
        *on = false;
        return true;
    }
    // A decimal integer with an optional sign; nothing else.
    if (text.isEmpty())
        return false;
    int i = 0;
    if (text[0] == QLatin1Char('-') || text[0] == QLatin1Char('+'))
        i = 1;
    if (i >= text.size())
        return false;
    bool nonZero = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        if (c != QLatin1Char('0'))
            nonZero = true;
    }
    *on = nonZero;
    return true;
}

} // namespace Settings
