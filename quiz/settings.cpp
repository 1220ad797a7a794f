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
const std::vector<SettingDef> kSettings = {
    // Design texts and the four page colours
    {"edtFormTitel", K::Text, S::Window, "Online Quiz", "Überschrift Quiz", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"cboFontHeader", K::Choice, S::Window, "Arial,Helvetica,Geneva", "Schriftart Überschrift", kNoMin, kNoMax, false, I::Fonts, R::Text,
     ""},
    {"edtSizeHeader", K::Number, S::Window, "12", "Größe", 0, 50, true, I::None, R::Text, ""},
    {"cboFontForm", K::Choice, S::Window, "Arial,Helvetica,Geneva", "Schriftart Quiz", kNoMin, kNoMax, false, I::Fonts, R::Text, ""},
    {"edtSizeForm", K::Number, S::Window, "10", "Größe", 0, 50, true, I::None, R::Text, ""},
    {"memoEinleitung", K::Lines, S::Window, "Willkommen zu unserem Online Quiz", "Einleitungstext", kNoMin, kNoMax, false, I::None, R::Text,
     ""},
    {"memoTextEnde", K::Lines, S::Window, "", "Text Ende", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"edtBGPicture", K::Text, S::Window, "", "Hintergrundbild", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"edtHGColor", K::Colour, S::Window, "C0C0C0", "Hintergrund", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"edtHeaderColor", K::Colour, S::Window, "000000", "Farbe Überschrift", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"edtTextColor", K::Colour, S::Window, "000080", "Farbe Text", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"edtTabColor", K::Colour, S::Window, "FFFFFF", "Tabellen Hintergrund", kNoMin, kNoMax, false, I::None, R::Text, ""},
    // Error pages, encoding and project properties
    {"IPErrorPage", K::Text, S::Ext, "", "", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"FileErrorPage", K::Text, S::Ext, "", "", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"CaptchaErrorPage", K::Text, S::Ext, "", "Captcha-Spam-Schutz:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"encoding", K::List, S::Ext, "", "Formularkodierung:", kNoMin, kNoMax, false, I::Encodings, R::Text, "iso-8859-1"},
    {"ProjectSettings_author", K::Text, S::Ext, "", "Autor:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"ProjectSettings_comment", K::Lines, S::Ext, "", "Kommentar:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"ProjectSettings_title", K::Text, S::Ext, "", "Titel:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"ProjectSettings_company", K::Text, S::Ext, "", "Firma:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"ProjectSettings_url", K::Text, S::Ext, "", "URL:", kNoMin, kNoMax, false, I::None, R::Text, "http://"},
    // Address fields: what is asked, what must be filled, where the block stands
    {"chkShowAdress", K::Flag, S::Window, "0", "Adressfelder anzeigen", kNoMin, kNoMax, false, I::None, R::RequiredFlag, ""},
    {"chkName", K::Flag, S::Window, "0", "Name", kNoMin, kNoMax, false, I::None, R::RequiredFlag, ""},
    {"chkVorname", K::Flag, S::Window, "0", "Vorname", kNoMin, kNoMax, false, I::None, R::RequiredFlag, ""},
    {"chkStrasse", K::Flag, S::Window, "0", "Straße", kNoMin, kNoMax, false, I::None, R::RequiredFlag, ""},
    {"chkPLZ", K::Flag, S::Window, "0", "PLZ", kNoMin, kNoMax, false, I::None, R::RequiredFlag, ""},
    {"chkOrt", K::Flag, S::Window, "0", "Ort", kNoMin, kNoMax, false, I::None, R::RequiredFlag, ""},
    {"chkLand", K::Flag, S::Window, "0", "Land", kNoMin, kNoMax, false, I::None, R::RequiredFlag, ""},
    {"chkEmail", K::Flag, S::Window, "0", "E-Mail", kNoMin, kNoMax, false, I::None, R::RequiredFlag, ""},
    {"chkForName", K::Flag, S::Window, "0", "Überprüfung?", kNoMin, kNoMax, false, I::None, R::RequiredFlag, ""},
    {"chkForVorname", K::Flag, S::Window, "0", "Überprüfung?", kNoMin, kNoMax, false, I::None, R::RequiredFlag, ""},
    {"chkForStr", K::Flag, S::Window, "0", "Überprüfung?", kNoMin, kNoMax, false, I::None, R::RequiredFlag, ""},
    {"chkForPlz", K::Flag, S::Window, "0", "Überprüfung?", kNoMin, kNoMax, false, I::None, R::RequiredFlag, ""},
    {"chkForOrt", K::Flag, S::Window, "0", "Überprüfung?", kNoMin, kNoMax, false, I::None, R::RequiredFlag, ""},
    {"chkForLand", K::Flag, S::Window, "0", "Überprüfung?", kNoMin, kNoMax, false, I::None, R::RequiredFlag, ""},
    {"chkForEmail", K::Flag, S::Window, "0", "Überprüfung?", kNoMin, kNoMax, false, I::None, R::RequiredFlag, ""},
    {"rdBegin", K::Flag, S::Window, "0", "am Anfang des Quiz", kNoMin, kNoMax, false, I::None, R::RequiredFlag, ""},
    {"rdEnd", K::Flag, S::Window, "-1", "am Ende des Quiz", kNoMin, kNoMax, false, I::None, R::RequiredFlag, ""},
    {"edtLName", K::Text, S::Window, "Ihr Name:", "Beschriftung:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"edtLVorname", K::Text, S::Window, "Ihr Vorname:", "Beschriftung:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"edtLStr", K::Text, S::Window, "Straße:", "Beschriftung:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"edtLPLZ", K::Text, S::Window, "PLZ:", "Beschriftung:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"edtLOrt", K::Text, S::Window, "Ort:", "Beschriftung:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"edtLLand", K::Text, S::Window, "Land:", "Beschriftung:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"edtLEmail", K::Text, S::Window, "E-Mail-Adresse:", "Beschriftung:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"edtHeader", K::Text, S::Window, "Bitte geben Sie hier Ihre Daten ein:", "Überschrift:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    // Mail, table width and evaluation
    {"edtEMail", K::Text, S::Window, "", "Empfänger:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"edtBetreff", K::Text, S::Window, "Online Quiz", "Betreff der E-Mail:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"edtTabWidth", K::Text, S::Window, "500", "Breite Tabelle", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"chkShowAuswertung", K::Flag, S::Window, "-1", "Dem Benutzer Auswertung anzeigen", kNoMin, kNoMax, false, I::None, R::RequiredFlag,
     ""},
    {"chkShowUserAnswers", K::Flag, S::Window, "0", "Dem Benutzer seine Antworten anzeigen", kNoMin, kNoMax, false, I::None, R::FlagDefault,
     "0"},
    {"chkShowUserCorrectAnswers", K::Flag, S::Window, "0", "Dem Benutzer richtige Lösung anzeigen", kNoMin, kNoMax, false, I::None,
     R::FlagDefault, "-1"},
    {"edtAuswertungHeader", K::Text, S::Window, "Auswertung Quiz", "Überschrift:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"memoAuswertung", K::Lines, S::Window, "Vielen Dank für die Teilnahme an unserem Quiz.", "Text Auswertung:", kNoMin, kNoMax, false,
     I::None, R::Text, ""},
    {"cboFormMailer", K::Choice, S::Window, "http://localhost:8080/quiz/v13/quiz.php", "Pfad zum QuizScript", kNoMin, kNoMax, false,
     I::FormMailers, R::Text, ""},
    {"chkShowPicDiagramm", K::Flag, S::Window, "-1", "Grafische Auswertung anzeigen? (Diagramm)", kNoMin, kNoMax, false, I::None,
     R::FlagDefault, "-1"},
    {"chkCaptcha", K::Flag, S::Window, "0", "Captcha-Spamschutz aktivieren", kNoMin, kNoMax, false, I::None, R::CaptchaFlag, "0"},
    {"edtCaptchaText1", K::Text, S::Window, "Spam-Schutz", "Beschriftung:", kNoMin, kNoMax, false, I::None, R::Text, "Spam-Schutz"},
    // Buttons
    {"cboStandardButton", K::Flag, S::Window, "-1", "Standarddesign?", kNoMin, kNoMax, false, I::None, R::KeepFlag, ""},
    {"edtHintergrundButton", K::Colour, S::Window, "a0a0a4", "Hintergrund:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"edtFarbeButton", K::Colour, S::Window, "000000", "Farbe:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"cboRahmenButton", K::Choice, S::Window, "solid", "Rahmen:", kNoMin, kNoMax, false, I::BorderStyles, R::Text, ""},
    {"edtStaerkeButton", K::Number, S::Window, "1", "Stärke:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"cboStaerkeRahmen", K::Choice, S::Window, "px", "", kNoMin, kNoMax, false, I::Units, R::Text, ""},
    {"edtSendenButton", K::Text, S::Window, "Absenden", "Senden:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"edtCancelButton", K::Text, S::Window, "Zurücksetzen", "Zurücksetzen:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"edtPrint", K::Text, S::Window, "Drucken", "Drucken:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"chkPrintButton", K::Flag, S::Window, "0", "", kNoMin, kNoMax, false, I::None, R::KeepFlag, ""},
    // Input fields
    {"cboStandardFeld", K::Flag, S::Window, "-1", "Standarddesign?", kNoMin, kNoMax, false, I::None, R::KeepFlag, ""},
    {"edtHGFormField", K::Colour, S::Window, "a0a0a4", "Hintergrund:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"edtColorFormField", K::Colour, S::Window, "000000", "Farbe:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"edtRahmenFormField", K::Choice, S::Window, "solid", "Rahmen:", kNoMin, kNoMax, false, I::BorderStyles, R::Text, ""},
    {"edtStaerkeFormField", K::Number, S::Window, "1", "Stärke:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"cboRahmenFormField", K::Choice, S::Window, "px", "", kNoMin, kNoMax, false, I::Units, R::Text, ""},
    {"cboFontFormField", K::Choice, S::Window, "Arial,Helvetica,Geneva", "Schriftart:", kNoMin, kNoMax, false, I::Fonts, R::Text, ""},
    {"edtSizeFormField", K::Number, S::Window, "12", "Grösse:", kNoMin, kNoMax, false, I::None, R::Text, ""},
    {"cboSchriftFormEinheit", K::Choice, S::Window, "px", "", kNoMin, kNoMax, false, I::Units, R::Text, ""},
};

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

int indexOf(const QString &key)
{
    return keyIndex().value(key, -1);
}

const SettingDef *find(const QString &key)
{
    const int i = indexOf(key);
    return i < 0 ? nullptr : &kSettings[size_t(i)];
}

const std::vector<AddressField> &addressFields()
{
    static const std::vector<AddressField> fields = {
        {"chkName", "edtLName", "LName", "chkForName", "Name"},
        {"chkVorname", "edtLVorname", "LVorname", "chkForVorname", "Vorname"},
        {"chkStrasse", "edtLStr", "LStrasse", "chkForStr", "Straße"},
        {"chkPLZ", "edtLPLZ", "LPLZ", "chkForPlz", "PLZ"},
        {"chkOrt", "edtLOrt", "LORT", "chkForOrt", "Ort"},
        {"chkLand", "edtLLand", "LLAND", "chkForLand", "Land"},
        {"chkEmail", "edtLEmail", "LEMAIL", "chkForEmail", "E-Mail"},
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
    return QString::fromUtf8(find(QStringLiteral("cboFormMailer"))->initial);
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
