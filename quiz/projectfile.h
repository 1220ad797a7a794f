#pragma once

#include <QByteArray>
#include <QString>

class Quiz;
class Question;
class XmlWriter;
struct XmlElement;
#include <memory>

namespace ProjectFile {

// The reader's one message.
QString notAProjectMessage();

// The project file's bytes for the quiz.
QByteArray toBytes(const Quiz &quiz);

// Reads a project from bytes into a copy of quiz's settings and, only when
// the whole file was read, makes quiz hold it. A failure leaves quiz as it was;
// reason then explains a refused file (too large, too deep, entities, out of
// memory) and stays empty for a file that is simply no project.
bool fromBytes(Quiz &quiz, const QByteArray &data, QString *reason = nullptr);

} // namespace ProjectFile

// Writes the quiz to path, replacing any file there. On failure the old file
// is kept and error holds the platform's text.
bool saveProjectFile(const Quiz &quiz, const QString &path, QString *error = nullptr);

// Reads the project at path into quiz. All or nothing: on any failure quiz
// is unchanged and the result is false (show ProjectFile::notAProjectMessage(),
// and reason when it is not empty: why the file could not be read or was refused).
bool loadProjectFile(Quiz &quiz, const QString &path, QString *reason = nullptr);

void writeQuestionElement(XmlWriter &writer, const Question &question);
// Builds a question from a forms element; null when it is incomplete.
std::unique_ptr<Question> readQuestionElement(const XmlElement &element);
