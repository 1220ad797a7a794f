#include "settingsbinding.h"
#include "linebreaks.h"

#include "numberedit.h"
#include "quiz.h"
#include "settings.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QWidget>

SettingsBinding::SettingsBinding(Quiz &quiz, QWidget *root)
    : QObject(root)
    , m_quiz(quiz)
    , m_root(root)
{
    for (const SettingDef &def : Settings::all()) {
        if (def.store != SettingStore::Window)
            continue;
        QWidget *control = root->findChild<QWidget *>(QString::fromLatin1(def.key));
        Q_ASSERT_X(control, "SettingsBinding", def.key);
        if (control)
            bindControl(control, def.id);
    }
    connect(&m_quiz, &Quiz::settingChanged, this, &SettingsBinding::showSetting);
    refreshAll();
}

void SettingsBinding::refreshAll()
{
    for (const SettingDef &def : Settings::all())
        if (def.store == SettingStore::Window)
            showSetting(def.id);
}

void SettingsBinding::bindControl(QWidget *control, SettingKey key)
{
    if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        connect(edit, &QLineEdit::textEdited, this, [this, key](const QString &t) { m_quiz.setText(key, t); });
    } else if (auto *number = qobject_cast<NumberEdit *>(control)) {
        connect(number, &NumberEdit::textEdited, this, [this, key](const QString &t) { m_quiz.setText(key, t); });
    } else if (auto *memo = qobject_cast<QPlainTextEdit *>(control)) {
        connect(memo, &QPlainTextEdit::textChanged, this, [this, key, memo] {
            if (!m_updating)
                m_quiz.setText(key, LineBreaks::fromWidget(memo->toPlainText()));
        });
    } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
        connect(combo, &QComboBox::editTextChanged, this, [this, key](const QString &t) {
            if (!m_updating)
                m_quiz.setText(key, t);
        });
    } else if (auto *button = qobject_cast<QAbstractButton *>(control)) {
        connect(button, &QAbstractButton::toggled, this, [this, key](bool on) {
            if (!m_updating)
                m_quiz.setFlag(key, on);
        });
    }
}

void SettingsBinding::showSetting(SettingKey key)
{
    if (Settings::def(key).store != SettingStore::Window)
        return;
    QWidget *control = m_root->findChild<QWidget *>(Settings::keyName(key));
    if (!control)
        return;
    const bool wasUpdating = m_updating;
    m_updating = true;
    if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        if (edit->text() != m_quiz.text(key))
            edit->setText(m_quiz.text(key));
    } else if (auto *number = qobject_cast<NumberEdit *>(control)) {
        number->setText(m_quiz.text(key));
    } else if (auto *memo = qobject_cast<QPlainTextEdit *>(control)) {
        const QString t = LineBreaks::toWidget(m_quiz.text(key));
        if (memo->toPlainText() != t)
            memo->setPlainText(t);
    } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
        if (combo->currentText() != m_quiz.text(key))
            combo->setEditText(m_quiz.text(key));
    } else if (auto *button = qobject_cast<QAbstractButton *>(control)) {
        const bool on = m_quiz.flag(key);
        if (button->isChecked() != on) {
            // An exclusive group refuses to uncheck its checked button; the
            // quiz may hold both address positions off.
            QButtonGroup *group = button->group();
            const bool exclusive = group && group->exclusive();
            if (exclusive && !on)
                group->setExclusive(false);
            button->setChecked(on);
            if (exclusive && !on)
                group->setExclusive(true);
        }
    }
    m_updating = wasUpdating;
}
