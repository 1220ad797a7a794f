#include "freetextquestiondialog.h"

#include <QLineEdit>

FreeTextQuestionDialog::FreeTextQuestionDialog(AnswerDialog &answerDialog, QWidget *parent)
    : QuestionDialog(QuestionKind::FreeText, QStringLiteral("Einfache Frage"), QSize(512, 356), answerDialog, parent)
{
    setObjectName(QStringLiteral("frmEinzField"));
}
