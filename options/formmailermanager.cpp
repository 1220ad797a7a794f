#include "formmailermanager.h"
#include "placement.h"

#include "artwork.h"

#include "formmailers.h"
#include "prompts.h"
#include "formmailerlinkdialog.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QMenuBar>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

FormMailerManager::FormMailerManager(QWidget *parent, const QString &path)
    : QDialog(parent)
    , m_path(path)
{
    setObjectName(QStringLiteral("frmFormMailerTemplates"));
    setWindowTitle(QStringLiteral("FormMailer-Vorlagen"));

    auto makeAction = [this](QAction *&action, const char *name, const QString &caption, const char *icon) {
        action = new QAction(Artwork::icon(QLatin1String(icon)), caption, this);
        action->setObjectName(QLatin1String(name));
    };
    makeAction(m_newAction, "actNew", QStringLiteral("Neu"), "neu");
    makeAction(m_editAction, "actEdit", QStringLiteral("Bearbeiten"), "frage-bearbeiten");
    makeAction(m_deleteAction, "actDelete", QStringLiteral("Löschen"), "frage-loeschen");
    makeAction(m_exitAction, "actExit", QStringLiteral("Verlassen"), "beenden");
    connect(m_newAction, &QAction::triggered, this, &FormMailerManager::newLink);
    connect(m_editAction, &QAction::triggered, this, &FormMailerManager::editLink);
    connect(m_deleteAction, &QAction::triggered, this, &FormMailerManager::deleteLink);
    connect(m_exitAction, &QAction::triggered, this, &QWidget::close);

    auto *menuBar = new QMenuBar(this);
    QMenu *file = menuBar->addMenu(QStringLiteral("&Datei"));
    file->addAction(m_newAction);
    file->addAction(m_editAction);
    file->addAction(m_deleteAction);
    file->addSeparator();
    file->addAction(m_exitAction);

    auto *toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar->setIconSize(QSize(16, 16));
    toolBar->setMovable(false);
    toolBar->addAction(m_newAction);
    toolBar->addAction(m_editAction);
    toolBar->addAction(m_deleteAction);
    toolBar->addSeparator();
    toolBar->addAction(m_exitAction);
    for (QAction *a : {m_newAction, m_editAction, m_deleteAction, m_exitAction}) {
        if (QWidget *button = toolBar->widgetForAction(a))
            button->setMinimumSize(58, 36);
    }

    m_linkList = new QTableWidget(0, 1, this);
    m_linkList->setObjectName(QStringLiteral("lstLinks"));
    m_linkList->setAccessibleName(QStringLiteral("Link zum Formmailer"));
    m_linkList->setHorizontalHeaderLabels({QStringLiteral("Link zum Formmailer")});
    m_linkList->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_linkList->horizontalHeader()->setHighlightSections(false);
    m_linkList->verticalHeader()->hide();
    m_linkList->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_linkList->setColumnWidth(0, 500);
    m_linkList->setShowGrid(true);
    m_linkList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_linkList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_linkList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_linkList->setWordWrap(false);
    connect(m_linkList, &QTableWidget::doubleClicked, m_editAction, &QAction::trigger);

    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    v->setMenuBar(menuBar);
    v->addWidget(toolBar);
    v->addWidget(m_linkList, 1);

    // A missing file gives an empty list. A file that could not be read in
    // full is said so once the window shows, and kept unless the user
    // changes the list and then agrees to replace it.
    for (const QString &link : FormMailers::readManagerEntries(m_path, &m_readResult))
        appendRow(link);

    resize(658, 246 + menuBar->sizeHint().height());
    m_linkList->setFocus();
}

void FormMailerManager::manage(QWidget *parent)
{
    FormMailerManager window(parent);
    window.exec();
}

QStringList FormMailerManager::links() const
{
    QStringList list;
    for (int row = 0; row < m_linkList->rowCount(); ++row)
        list << m_linkList->item(row, 0)->text();
    return list;
}

void FormMailerManager::appendRow(const QString &text)
{
    const int row = m_linkList->rowCount();
    m_linkList->insertRow(row);
    m_linkList->setItem(row, 0, new QTableWidgetItem);
    setRowText(row, text);
}

void FormMailerManager::setRowText(int row, const QString &text)
{
    QTableWidgetItem *item = m_linkList->item(row, 0);
    item->setText(text);
    // An address longer than the column is shown in full as a tip.
    item->setToolTip(text);
}

int FormMailerManager::selectedRow() const
{
    const QModelIndexList rows = m_linkList->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void FormMailerManager::newLink()
{
    FormMailerLinkDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted) {
        appendRow(dialog.link());
        m_changed = true;
    }
}

void FormMailerManager::editLink()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    FormMailerLinkDialog dialog(this);
    dialog.setLink(m_linkList->item(row, 0)->text());
    if (dialog.exec() == QDialog::Accepted) {
        setRowText(row, dialog.link());
        m_changed = true;
    }
}

void FormMailerManager::deleteLink()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    m_linkList->removeRow(row);
    m_changed = true;
    // The view would select the next row, and a second click would delete
    // an address the user never chose.
    m_linkList->selectionModel()->clear();
}

bool FormMailerManager::saveList()
{
    QString error;
    if (FormMailers::save(m_path, links(), &error))
        return true;
    Prompts::message(this, QStringLiteral("Fehler"), error, Prompts::Critical);
    return false;
}

void FormMailerManager::reject()
{
    // The close box and Escape reach reject(), "Verlassen" through close().
    Prompts::Answer answer;
    if (m_readResult != FormMailers::ReadResult::Unreadable) {
        answer = Prompts::question(this, QStringLiteral("Bestätigen"), QStringLiteral("Änderungen speichern?"), true, Prompts::Question);
    } else if (!m_changed) {
        // Nothing to save, and the file the user could not see stays.
        answer = Prompts::No;
    } else {
        answer = Prompts::question(this, QStringLiteral("Bestätigen"),
                                   QStringLiteral("Die bisherige Datei \"%1\" konnte nicht gelesen werden.\n"
                                                  "Soll sie durch die angezeigte Liste ersetzt werden?")
                                       .arg(QDir::toNativeSeparators(m_path)),
                                   true, Prompts::Warning);
    }
    switch (answer) {
    case Prompts::Yes:
        if (saveList())
            QDialog::accept();
        break;
    case Prompts::No:
        QDialog::reject();
        break;
    default:
        break;
    }
}

void FormMailerManager::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_centred && parentWidget()) {
        m_centred = true;
        Placement::centreOnOwner(this);
    }
    if (m_readResult == FormMailers::ReadResult::Unreadable && !m_unreadableReported) {
        m_unreadableReported = true;
        // Once the window is up, so that the message stands over it.
        QTimer::singleShot(0, this, [this] {
            Prompts::message(this, QStringLiteral("FormMailer-Vorlagen"),
                             QStringLiteral("Die Liste der Formmailer-Links \"%1\" konnte nicht gelesen werden.\n"
                                            "Die Datei bleibt unverändert, solange Sie die Liste hier nicht ändern.")
                                 .arg(QDir::toNativeSeparators(m_path)),
                             Prompts::Warning);
        });
    }
}
