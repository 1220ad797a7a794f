#include "quiz.h"

#include <QtGlobal>

namespace Colours {

const std::array<ColourPair, 8> &pairs()
{
    static const std::array<ColourPair, 8> kPairs = {{
        {"edtHGColor", "cboBGColor", true},
        {"edtHeaderColor", "cboHeadingColor", true},
        {"edtTextColor", "cboTextColor", true},
        {"edtTabColor", "cboTabColor", true},
        {"edtHintergrundButton", "cboColorHGButton", false},
        {"edtFarbeButton", "cboButtonColor", false},
        {"edtHGFormField", "cboHGFormField", false},
        {"edtColorFormField", "cboColorFormField", false},
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

const ColourPair *pairOfEdit(const QString &edit)
{
    for (const ColourPair &p : pairs())
        if (edit == QLatin1String(p.edit))
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
        m_colors[i] = Colours::valueOf(text(QLatin1String(p[i].edit)));
    m_formMailers << Settings::initialFormMailer();
}

Quiz::~Quiz() = default;

int Quiz::checkedIndex(const QString &key) const
{
    const int i = Settings::indexOf(key);
    Q_ASSERT_X(i >= 0, "Quiz", qPrintable(QStringLiteral("unknown setting ") + key));
    return i;
}

QString Quiz::text(const QString &key) const
{
    const int i = checkedIndex(key);
    if (i < 0)
        return {};
    if (Settings::all()[size_t(i)].kind == SettingKind::Flag)
        return Settings::flagText(m_flags[size_t(i)]);
    return m_texts[size_t(i)];
}

bool Quiz::flag(const QString &key) const
{
    const int i = checkedIndex(key);
    return i >= 0 && m_flags[size_t(i)];
}

void Quiz::setText(const QString &key, const QString &value)
{
    const int i = checkedIndex(key);
    if (i < 0 || Settings::all()[size_t(i)].kind == SettingKind::Flag)
        return;
    if (m_texts[size_t(i)] == value)
        return;
    m_texts[size_t(i)] = value;
    emit settingChanged(key);
}

void Quiz::setFlagAt(int index, bool on)
{
    if (m_flags[size_t(index)] == on)
        return;
    m_flags[size_t(index)] = on;
    emit settingChanged(QString::fromLatin1(Settings::all()[size_t(index)].key));
}

void Quiz::setFlag(const QString &key, bool on)
{
    const int i = checkedIndex(key);
    if (i < 0 || Settings::all()[size_t(i)].kind != SettingKind::Flag)
        return;
    setFlagAt(i, on);
    // rdBegin and rdEnd are the two radio buttons of one group.
    if (on && key == QLatin1String("rdBegin"))
        setFlagAt(Settings::indexOf(QStringLiteral("rdEnd")), false);
    else if (on && key == QLatin1String("rdEnd"))
        setFlagAt(Settings::indexOf(QStringLiteral("rdBegin")), false);
}

ExtSettings Quiz::extSettings() const
{
    ExtSettings e;
    e.encoding = text(QStringLiteral("encoding"));
    e.projectProperties.author = text(QStringLiteral("ProjectSettings_author"));
    e.projectProperties.comment = text(QStringLiteral("ProjectSettings_comment"));
    e.projectProperties.title = text(QStringLiteral("ProjectSettings_title"));
    e.projectProperties.company = text(QStringLiteral("ProjectSettings_company"));
    e.projectProperties.url = text(QStringLiteral("ProjectSettings_url"));
    e.errorPages.IPErrorPage = text(QStringLiteral("IPErrorPage"));
    e.errorPages.FileErrorPage = text(QStringLiteral("FileErrorPage"));
    e.errorPages.CaptchaErrorPage = text(QStringLiteral("CaptchaErrorPage"));
    return e;
}

void Quiz::setExtSettings(const ExtSettings &e)
{
    setText(QStringLiteral("encoding"), e.encoding);
    setText(QStringLiteral("ProjectSettings_author"), e.projectProperties.author);
    setText(QStringLiteral("ProjectSettings_comment"), e.projectProperties.comment);
    setText(QStringLiteral("ProjectSettings_title"), e.projectProperties.title);
    setText(QStringLiteral("ProjectSettings_company"), e.projectProperties.company);
    setText(QStringLiteral("ProjectSettings_url"), e.projectProperties.url);
    setText(QStringLiteral("IPErrorPage"), e.errorPages.IPErrorPage);
    setText(QStringLiteral("FileErrorPage"), e.errorPages.FileErrorPage);
    setText(QStringLiteral("CaptchaErrorPage"), e.errorPages.CaptchaErrorPage);
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
    setText(QLatin1String(Colours::pairs()[size_t(i)].edit), Colours::textOf(value));
}

void Quiz::colorToButton(const QString &edit)
{
    const ColourPair *p = Colours::pairOfEdit(edit);
    Q_ASSERT(p);
    if (p)
        setColor(QLatin1String(p->button), Colours::valueOf(text(edit)));
}

void Quiz::colorsFromTexts()
{
    for (const ColourPair &p : Colours::pairs())
        colorToButton(QLatin1String(p.edit));
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
        emit settingChanged(QString::fromLatin1(defs[size_t(i)].key));
    for (int i : changedColors)
        emit colorChanged(QString::fromLatin1(Colours::pairs()[size_t(i)].button));
    emit questionsChanged();
}
