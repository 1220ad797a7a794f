#pragma once

#include "questionlist.h"
#include "rgbtohtml.h"
#include "settings.h"

#include <QObject>
#include <QStringList>
#include <array>
#include <vector>

struct ProjectProperties {
    QString author, comment, title, company, url;
};

struct ErrorPages {
    QString IPErrorPage, FileErrorPage, CaptchaErrorPage;
};

// The nine settings that have no control on the main window's tabs.
struct ExtSettings {
    QString encoding;
    ProjectProperties projectProperties;
    ErrorPages errorPages;
};

// A colour text (a setting) and the colour button that shows its value.
struct ColourPair {
    SettingKey edit;
    const char *button;
    bool design; // the four pairs of the page "Design"
};

namespace Colours {
// The eight pairs in the order in which a load sets them.
const std::array<ColourPair, 8> &pairs();
const ColourPair *pairOfButton(const QString &button);
const ColourPair *pairOfEdit(SettingKey edit);
} // namespace Colours

// One open quiz: every setting by its key, the colour values of the colour
// buttons, the question list and the drop-down items of the quiz-script
// address. Windows show it; the reader, the writer and the generator work
// on it and never see a widget.
class Quiz : public QObject
{
    Q_OBJECT

public:
    // A quiz with the initial values of every setting.
    explicit Quiz(QObject *parent = nullptr);
    ~Quiz() override;

    // Text of a setting; a flag gives "-1" or "0".
    QString text(SettingKey key) const;
    bool flag(SettingKey key) const { return m_flags[size_t(key)]; }

    // Sets a setting of any kind but flag, unchanged.
    void setText(SettingKey key, const QString &value);
    // Sets a flag; turning rdBegin or rdEnd on turns the other off.
    void setFlag(SettingKey key, bool on);

    ExtSettings extSettings() const;
    void setExtSettings(const ExtSettings &ext);

    // Colour values of the eight colour buttons, by the button's name.
    ColorValue color(const QString &button) const;
    // Sets a button's colour; on a real change the edit's text becomes the
    // colour's upper-case text (ComboToColor).
    void setColor(const QString &button, ColorValue value);
    // The button of the edit takes the value of the edit's text (black when
    // the text is rejected), with the cascade of setColor.
    void colorToButton(SettingKey edit);
    // colorToButton for all eight pairs, in their order.
    void colorsFromTexts();

    QuestionList &questions() { return m_questions; }
    const QuestionList &questions() const { return m_questions; }
    // Call after changing questions, so that views follow.
    void notifyQuestionsChanged();

    // The entries of the quiz-script address list (drop-down items).
    QStringList formMailers() const { return m_formMailers; }
    void setFormMailers(const QStringList &list);

    // Copies every setting, colour value and the address list, not the questions.
    void copySettingsFrom(const Quiz &other);
    // Takes over settings, colours and questions of other (a completed load).
    void takeFrom(Quiz &other);

signals:
    void settingChanged(SettingKey key);
    void colorChanged(const QString &button);
    void questionsChanged();
    void formMailersChanged();

private:
    void setFlagAt(SettingKey key, bool on);

    std::vector<QString> m_texts;
    std::vector<bool> m_flags;
    std::array<ColorValue, 8> m_colors{};
    QuestionList m_questions;
    QStringList m_formMailers;
};
