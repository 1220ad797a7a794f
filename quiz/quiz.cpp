#include "quiz.h"

#include <QtGlobal>

namespace Colours {

const std::array<ColourPair, 8> &pairs()
{
    static const std::array<ColourPair, 8> kPairs = {{
        {SettingKey::edtHGColor, "cboBGColor", true},
        {SettingKey::edtHeaderColor, "cboHeadingColor", true},
        {SettingKey::edtTextColor, "cboTextColor", true},
        {SettingKey::edtTabColor, "cboTabColor", true},
        {SettingKey::edtHintergrundButton, "cboColorHGButton", false},
        {SettingKey::edtFarbeButton, "cboButtonColor", false},
        {SettingKey::edtHGFormField, "cboHGFormField", false},
        {SettingKey::edtColorFormField, "cboColorFormField", false},
    }};
    return kPairs;
}

const ColourPair *pairOfButton(const QString &button)
{
    for (const ColourPair &p : pairs())
        if (button == QLatin1String(p.button))
            return &p;
    return nullptr;
}

const ColourPair *pairOfEdit(SettingKey edit)
{
    for (const ColourPair &p : pairs())
        if (edit == p.edit)
            return &p;
    return nullptr;
}

} // namespace Colours

namespace {
int buttonIndex(const QString &button)
{
    const auto &p = Colours::pairs();
    for (size_t i = 0; i < p.size(); ++i)
        if (button == QLatin1String(p[i].button))
            return int(i);
    return -1;
}
} // namespace

Quiz::Quiz(QObject *parent)
    : QObject(parent)
{
    const auto &defs = Settings::all();
    m_texts.resize(defs.size());
    m_flags.resize(defs.size(), false);
    for (size_t i = 0; i < defs.size(); ++i) {
        const QString initial = QString::fromUtf8(defs[i].initial);
        if (defs[i].kind == SettingKind::Flag)
            m_flags[i] = initial == QLatin1String("-1");
        else
            m_texts[i] = initial;
    }
    // Before any load the buttons show the colours of the initial texts.
    const auto &p = Colours::pairs();
    for (size_t i = 0; i < p.size(); ++i)
        m_colors[i] = Colours::valueOf(text(p[i].edit));
    m_formMailers << Settings::initialFormMailer();
}

Quiz::~Quiz() = default;

QString Quiz::text(SettingKey key) const
{
    if (Settings::def(key).kind == SettingKind::Flag)
        return Settings::flagText(m_flags[size_t(key)]);
    return m_texts[size_t(key)];
}

void Quiz::setText(SettingKey key, const QString &value)
{
    const size_t i = size_t(key);
    if (Settings::def(key).kind == SettingKind::Flag || m_texts[i] == value)
        return;
    m_texts[i] = value;
    emit settingChanged(key);
}

void Quiz::setFlagAt(SettingKey key, bool on)
{
    if (m_flags[size_t(key)] == on)
        return;
    m_flags[size_t(key)] = on;
    emit settingChanged(key);
}

void Quiz::setFlag(SettingKey key, bool on)
{
    if (Settings::def(key).kind != SettingKind::Flag)
        return;
    setFlagAt(key, on);
    // rdBegin and rdEnd are the two radio buttons of one group.
    if (on && key == SettingKey::rdBegin)
        setFlagAt(SettingKey::rdEnd, false);
    else if (on && key == SettingKey::rdEnd)
        setFlagAt(SettingKey::rdBegin, false);
}

ExtSettings Quiz::extSettings() const
{
    ExtSettings e;
    e.encoding = text(SettingKey::encoding);
    e.projectProperties.author = text(SettingKey::ProjectSettings_author);
    e.projectProperties.comment = text(SettingKey::ProjectSettings_comment);
    e.projectProperties.title = text(SettingKey::ProjectSettings_title);
    e.projectProperties.company = text(SettingKey::ProjectSettings_company);
    e.projectProperties.url = text(SettingKey::ProjectSettings_url);
    e.errorPages.IPErrorPage = text(SettingKey::IPErrorPage);
    e.errorPages.FileErrorPage = text(SettingKey::FileErrorPage);
    e.errorPages.CaptchaErrorPage = text(SettingKey::CaptchaErrorPage);
    return e;
}

void Quiz::setExtSettings(const ExtSettings &e)
{
    setText(SettingKey::encoding, e.encoding);
    setText(SettingKey::ProjectSettings_author, e.projectProperties.author);
    setText(SettingKey::ProjectSettings_comment, e.projectProperties.comment);
    setText(SettingKey::ProjectSettings_title, e.projectProperties.title);
    setText(SettingKey::ProjectSettings_company, e.projectProperties.company);
    setText(SettingKey::ProjectSettings_url, e.projectProperties.url);
    setText(SettingKey::IPErrorPage, e.errorPages.IPErrorPage);
    setText(SettingKey::FileErrorPage, e.errorPages.FileErrorPage);
    setText(SettingKey::CaptchaErrorPage, e.errorPages.CaptchaErrorPage);
}

ColorValue Quiz::color(const QString &button) const
{
    const int i = buttonIndex(button);
    Q_ASSERT(i >= 0);
    return i < 0 ? 0 : m_colors[size_t(i)];
}

void Quiz::setColor(const QString &button, ColorValue value)
{
    const int i = buttonIndex(button);
    Q_ASSERT(i >= 0);
    if (i < 0 || m_colors[size_t(i)] == value)
        return;
    m_colors[size_t(i)] = value;
    emit colorChanged(button);
    // ComboToColor: the button writes its colour into its edit.
    setText(Colours::pairs()[size_t(i)].edit, Colours::textOf(value));
}

void Quiz::colorToButton(SettingKey edit)
{
    if (const ColourPair *p = Colours::pairOfEdit(edit))
        setColor(QLatin1String(p->button), Colours::valueOf(text(edit)));
}

void Quiz::colorsFromTexts()
{
    for (const ColourPair &p : Colours::pairs())
        colorToButton(p.edit);
}

void Quiz::notifyQuestionsChanged()
{
    emit questionsChanged();
}

void Quiz::setFormMailers(const QStringList &list)
{
    if (m_formMailers == list)
        return;
    m_formMailers = list;
    emit formMailersChanged();
}

void Quiz::copySettingsFrom(const Quiz &other)
{
    m_texts = other.m_texts;
    m_flags = other.m_flags;
    m_colors = other.m_colors;
    m_formMailers = other.m_formMailers;
}

void Quiz::takeFrom(Quiz &other)
{
    const auto &defs = Settings::all();
    std::vector<int> changed;
    for (size_t i = 0; i < defs.size(); ++i)
        if (m_texts[i] != other.m_texts[i] || m_flags[i] != other.m_flags[i])
            changed.push_back(int(i));
    std::vector<int> changedColors;
    for (size_t i = 0; i < m_colors.size(); ++i)
        if (m_colors[i] != other.m_colors[i])
            changedColors.push_back(int(i));
    const bool mailersChanged = m_formMailers != other.m_formMailers;

    m_texts = other.m_texts;
    m_flags = other.m_flags;
    m_colors = other.m_colors;
    m_formMailers = other.m_formMailers;
    m_questions.swapWith(other.m_questions);
    other.m_questions.clear();

    if (mailersChanged)
        emit formMailersChanged();
    for (int i : changed)
        emit settingChanged(SettingKey(i));
    for (int i : changedColors)
        emit colorChanged(QString::fromLatin1(Colours::pairs()[size_t(i)].button));
    emit questionsChanged();
}
