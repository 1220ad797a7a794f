#pragma once

// The quiz settings, in the order of the project file: one row per setting,
// X(key, kind, store, initial, caption, minimum, maximum, hasRange, items,
//   read rule, read default), with the abbreviations K (SettingKind),
// S (SettingStore), I (ItemList) and R (ReadRule). The key is also the
// control's object name and the project file's element name. The typed keys
// (SettingKey) and the table Settings::all() are both made from this list.
#define PRUVEX_SETTINGS(X) \
    /* Design texts and the four page colours */ \
    X(edtFormTitel, K::Text, S::Window, "Online Quiz", "Überschrift Quiz", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(cboFontHeader, K::Choice, S::Window, "Arial,Helvetica,Geneva", "Schriftart Überschrift", kNoMin, kNoMax, false, I::Fonts, R::Text, "") \
    X(edtSizeHeader, K::Number, S::Window, "12", "Größe", 0, 50, true, I::None, R::Text, "") \
    X(cboFontForm, K::Choice, S::Window, "Arial,Helvetica,Geneva", "Schriftart Quiz", kNoMin, kNoMax, false, I::Fonts, R::Text, "") \
    X(edtSizeForm, K::Number, S::Window, "10", "Größe", 0, 50, true, I::None, R::Text, "") \
    X(memoEinleitung, K::Lines, S::Window, "Willkommen zu unserem Online Quiz", "Einleitungstext", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(memoTextEnde, K::Lines, S::Window, "", "Text Ende", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(edtBGPicture, K::Text, S::Window, "", "Hintergrundbild", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(edtHGColor, K::Colour, S::Window, "C0C0C0", "Hintergrund", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(edtHeaderColor, K::Colour, S::Window, "000000", "Farbe Überschrift", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(edtTextColor, K::Colour, S::Window, "000080", "Farbe Text", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(edtTabColor, K::Colour, S::Window, "FFFFFF", "Tabellen Hintergrund", kNoMin, kNoMax, false, I::None, R::Text, "") \
    /* Error pages, encoding and project properties */ \
    X(IPErrorPage, K::Text, S::Ext, "", "", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(FileErrorPage, K::Text, S::Ext, "", "", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(CaptchaErrorPage, K::Text, S::Ext, "", "Captcha-Spam-Schutz:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(encoding, K::List, S::Ext, "", "Formularkodierung:", kNoMin, kNoMax, false, I::Encodings, R::Text, "iso-8859-1") \
    X(ProjectSettings_author, K::Text, S::Ext, "", "Autor:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(ProjectSettings_comment, K::Lines, S::Ext, "", "Kommentar:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(ProjectSettings_title, K::Text, S::Ext, "", "Titel:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(ProjectSettings_company, K::Text, S::Ext, "", "Firma:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(ProjectSettings_url, K::Text, S::Ext, "", "URL:", kNoMin, kNoMax, false, I::None, R::Text, "http://") \
    /* Address fields: what is asked, what must be filled, where the block stands */ \
    X(chkShowAdress, K::Flag, S::Window, "0", "Adressfelder anzeigen", kNoMin, kNoMax, false, I::None, R::RequiredFlag, "") \
    X(chkName, K::Flag, S::Window, "0", "Name", kNoMin, kNoMax, false, I::None, R::RequiredFlag, "") \
    X(chkVorname, K::Flag, S::Window, "0", "Vorname", kNoMin, kNoMax, false, I::None, R::RequiredFlag, "") \
    X(chkStrasse, K::Flag, S::Window, "0", "Straße", kNoMin, kNoMax, false, I::None, R::RequiredFlag, "") \
    X(chkPLZ, K::Flag, S::Window, "0", "PLZ", kNoMin, kNoMax, false, I::None, R::RequiredFlag, "") \
    X(chkOrt, K::Flag, S::Window, "0", "Ort", kNoMin, kNoMax, false, I::None, R::RequiredFlag, "") \
    X(chkLand, K::Flag, S::Window, "0", "Land", kNoMin, kNoMax, false, I::None, R::RequiredFlag, "") \
    X(chkEmail, K::Flag, S::Window, "0", "E-Mail", kNoMin, kNoMax, false, I::None, R::RequiredFlag, "") \
    X(chkForName, K::Flag, S::Window, "0", "Überprüfung?", kNoMin, kNoMax, false, I::None, R::RequiredFlag, "") \
    X(chkForVorname, K::Flag, S::Window, "0", "Überprüfung?", kNoMin, kNoMax, false, I::None, R::RequiredFlag, "") \
    X(chkForStr, K::Flag, S::Window, "0", "Überprüfung?", kNoMin, kNoMax, false, I::None, R::RequiredFlag, "") \
    X(chkForPlz, K::Flag, S::Window, "0", "Überprüfung?", kNoMin, kNoMax, false, I::None, R::RequiredFlag, "") \
    X(chkForOrt, K::Flag, S::Window, "0", "Überprüfung?", kNoMin, kNoMax, false, I::None, R::RequiredFlag, "") \
    X(chkForLand, K::Flag, S::Window, "0", "Überprüfung?", kNoMin, kNoMax, false, I::None, R::RequiredFlag, "") \
    X(chkForEmail, K::Flag, S::Window, "0", "Überprüfung?", kNoMin, kNoMax, false, I::None, R::RequiredFlag, "") \
    X(rdBegin, K::Flag, S::Window, "0", "am Anfang des Quiz", kNoMin, kNoMax, false, I::None, R::RequiredFlag, "") \
    X(rdEnd, K::Flag, S::Window, "-1", "am Ende des Quiz", kNoMin, kNoMax, false, I::None, R::RequiredFlag, "") \
    X(edtLName, K::Text, S::Window, "Ihr Name:", "Beschriftung:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(edtLVorname, K::Text, S::Window, "Ihr Vorname:", "Beschriftung:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(edtLStr, K::Text, S::Window, "Straße:", "Beschriftung:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(edtLPLZ, K::Text, S::Window, "PLZ:", "Beschriftung:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(edtLOrt, K::Text, S::Window, "Ort:", "Beschriftung:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(edtLLand, K::Text, S::Window, "Land:", "Beschriftung:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(edtLEmail, K::Text, S::Window, "E-Mail-Adresse:", "Beschriftung:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(edtHeader, K::Text, S::Window, "Bitte geben Sie hier Ihre Daten ein:", "Überschrift:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    /* Mail, table width and evaluation */ \
    X(edtEMail, K::Text, S::Window, "", "Empfänger:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(edtBetreff, K::Text, S::Window, "Online Quiz", "Betreff der E-Mail:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(edtTabWidth, K::Text, S::Window, "500", "Breite Tabelle", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(chkShowAuswertung, K::Flag, S::Window, "-1", "Dem Benutzer Auswertung anzeigen", kNoMin, kNoMax, false, I::None, R::RequiredFlag, "") \
    X(chkShowUserAnswers, K::Flag, S::Window, "0", "Dem Benutzer seine Antworten anzeigen", kNoMin, kNoMax, false, I::None, R::FlagDefault, "0") \
    X(chkShowUserCorrectAnswers, K::Flag, S::Window, "0", "Dem Benutzer richtige Lösung anzeigen", kNoMin, kNoMax, false, I::None, R::FlagDefault, "-1") \
    X(edtAuswertungHeader, K::Text, S::Window, "Auswertung Quiz", "Überschrift:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(memoAuswertung, K::Lines, S::Window, "Vielen Dank für die Teilnahme an unserem Quiz.", "Text Auswertung:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(cboFormMailer, K::Choice, S::Window, "http://localhost:8080/quiz/v13/quiz.php", "Pfad zum QuizScript", kNoMin, kNoMax, false, I::FormMailers, R::Text, "") \
    X(chkShowPicDiagramm, K::Flag, S::Window, "-1", "Grafische Auswertung anzeigen? (Diagramm)", kNoMin, kNoMax, false, I::None, R::FlagDefault, "-1") \
    X(chkCaptcha, K::Flag, S::Window, "0", "Captcha-Spamschutz aktivieren", kNoMin, kNoMax, false, I::None, R::CaptchaFlag, "0") \
    X(edtCaptchaText1, K::Text, S::Window, "Spam-Schutz", "Beschriftung:", kNoMin, kNoMax, false, I::None, R::Text, "Spam-Schutz") \
    /* Buttons */ \
    X(cboStandardButton, K::Flag, S::Window, "-1", "Standarddesign?", kNoMin, kNoMax, false, I::None, R::KeepFlag, "") \
    X(edtHintergrundButton, K::Colour, S::Window, "a0a0a4", "Hintergrund:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(edtFarbeButton, K::Colour, S::Window, "000000", "Farbe:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(cboRahmenButton, K::Choice, S::Window, "solid", "Rahmen:", kNoMin, kNoMax, false, I::BorderStyles, R::Text, "") \
    X(edtStaerkeButton, K::Number, S::Window, "1", "Stärke:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(cboStaerkeRahmen, K::Choice, S::Window, "px", "", kNoMin, kNoMax, false, I::Units, R::Text, "") \
    X(edtSendenButton, K::Text, S::Window, "Absenden", "Senden:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(edtCancelButton, K::Text, S::Window, "Zurücksetzen", "Zurücksetzen:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(edtPrint, K::Text, S::Window, "Drucken", "Drucken:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(chkPrintButton, K::Flag, S::Window, "0", "", kNoMin, kNoMax, false, I::None, R::KeepFlag, "") \
    /* Input fields */ \
    X(cboStandardFeld, K::Flag, S::Window, "-1", "Standarddesign?", kNoMin, kNoMax, false, I::None, R::KeepFlag, "") \
    X(edtHGFormField, K::Colour, S::Window, "a0a0a4", "Hintergrund:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(edtColorFormField, K::Colour, S::Window, "000000", "Farbe:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(edtRahmenFormField, K::Choice, S::Window, "solid", "Rahmen:", kNoMin, kNoMax, false, I::BorderStyles, R::Text, "") \
    X(edtStaerkeFormField, K::Number, S::Window, "1", "Stärke:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(cboRahmenFormField, K::Choice, S::Window, "px", "", kNoMin, kNoMax, false, I::Units, R::Text, "") \
    X(cboFontFormField, K::Choice, S::Window, "Arial,Helvetica,Geneva", "Schriftart:", kNoMin, kNoMax, false, I::Fonts, R::Text, "") \
    X(edtSizeFormField, K::Number, S::Window, "12", "Grösse:", kNoMin, kNoMax, false, I::None, R::Text, "") \
    X(cboSchriftFormEinheit, K::Choice, S::Window, "px", "", kNoMin, kNoMax, false, I::Units, R::Text, "")
