#pragma once

#include "settings.h"

#include <QObject>

class Quiz;
class QWidget;

// Ties every control whose object name is a setting's key to the quiz, both
// ways: the user's edit goes into the quiz at once, and a change of the quiz
// (a load, a dialog) shows in the control. Line breaks are CR LF in the quiz
// and LF in plain-text widgets; the binding converts at the widget's edge.
class SettingsBinding : public QObject
{
    Q_OBJECT

public:
    SettingsBinding(Quiz &quiz, QWidget *root);

    // Shows every setting's current value in its control.
    void refreshAll();

private:
    void bindControl(QWidget *control, SettingKey key);
    void showSetting(SettingKey key);

    Quiz &m_quiz;
    QWidget *m_root;
    bool m_updating = false;
};
