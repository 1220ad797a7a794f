#pragma once

#include <QJsonObject>
#include <QString>

class Quiz;

// The quiz as JSON, for scripts: "settings" maps every key of the settings
// table to its value (flags as booleans, everything else as a string, line
// breaks as CR LF), and "questions" lists the questions in order, with the
// element names of the project file.
QJsonObject quizToJson(const Quiz &quiz);

// JSON text of an object made by quizToJson, indented, in UTF-8.
QByteArray formatJson(const QJsonObject &json);

// Applies what json gives to quiz: settings that json names take its values,
// the others keep theirs; "questions", when present, replaces the question
// list. Line breaks in texts become CR LF, the form the quiz holds them in,
// and the colour values follow the colour texts as after a load.
// All or nothing: on any unknown key or value of the wrong kind quiz is left
// as it was and error lists each problem on a line of its own, naming it.
bool applyJson(Quiz &quiz, const QJsonObject &json, QString *error);
