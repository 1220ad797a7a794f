#pragma once

#include "formmailers.h"

#include <QDialog>
#include <QStringList>

class QAction;
class QTableWidget;

// "FormMailer-Vorlagen": the manager of the quiz-script address list. It is
// created for each use and reads the file anew; whatever closes it, it asks
// whether to save the list, and the file changes only on Yes. A file it could
// not read is never replaced unasked: unchanged, the window closes without
// the question; changed, it asks whether to replace that file.
class FormMailerManager : public QDialog
{
    Q_OBJECT

public:
    // path: the address list file; tests point it elsewhere.
    explicit FormMailerManager(QWidget *parent = nullptr, const QString &path = FormMailers::userFilePath());

    // Shows the manager modally, owned by parent, and frees it afterwards.
    // The caller refills its drop-down list from the file after this returns.
    static void manage(QWidget *parent);

    QString filePath() const { return m_path; }
    // The rows of m_linkList, first to last.
    QStringList links() const;

    // Every way of closing ends here: the closing question.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void newLink();
    void editLink();
    void deleteLink();
    int selectedRow() const;
    void appendRow(const QString &text);
    void setRowText(int row, const QString &text);
    // Writes the rows to the file; on failure shows the platform's text.
    bool saveList();

    QString m_path;
    QTableWidget *m_linkList;
    QAction *m_newAction, *m_editAction, *m_deleteAction, *m_exitAction;
    bool m_centred = false;
    FormMailers::ReadResult m_readResult = FormMailers::ReadResult::Read;
    bool m_unreadableReported = false;
    bool m_changed = false; // a row was added, edited or deleted
};
