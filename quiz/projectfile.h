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

// Opens a project as the editor does at a start with that file: the quiz
// takes the per-user quiz-script address list (seeded from the program's
// folder when the user has none), then the project.
bool openProject(Quiz &quiz, const QString &path, QString *reason = nullptr);
// Loads "default.pvx" from the program's folder into quiz, as "Neu" does.
bool loadDefaultProject(Quiz &quiz, QString *reason = nullptr);
// A new quiz as the editor makes it at a start without a project: the
// address list, then the default project. False when the default project
// could not be read; the quiz then keeps its initial values.
bool newQuiz(Quiz &quiz, QString *reason = nullptr);

void writeQuestionElement(XmlWriter &writer, const Question &question);
// Builds a question from a forms element; null when it is incomplete.
std::unique_ptr<Question> readQuestionElement(XmlElement &element);
