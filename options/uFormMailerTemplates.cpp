#include "uFormMailerTemplates.h"
#include "placement.h"

#include "artwork.h"

#include "formmailers.h"
#include "prompts.h"
#include "uFormmailerInput.h"

#include <QAction>
#include <QHeaderView>
#include <QMenuBar>
#include <QStyle>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

TfrmFormMailerTemplates::TfrmFormMailerTemplates(QWidget *parent, const QString &path)
    : QDialog(parent)
    , m_path(path)
{
    setObjectName(QStringLiteral("frmFormMailerTemplates"));
    setWindowTitle(QStringLiteral("FormMailer-Vorlagen"));

    auto makeAction = [this](QAction *&action, const char *name, const QString &caption, const char *icon) {
        action = new QAction(Artwork::icon(QLatin1String(icon)), caption, this);
        action->setObjectName(QLatin1String(name));
    };
    makeAction(actNew, "actNew", QStringLiteral("Neu"), "neu");
    makeAction(actEdit, "actEdit", QStringLiteral("Bearbeiten"), "frage-bearbeiten");
    makeAction(actDelete, "actDelete", QStringLiteral("Löschen"), "frage-loeschen");
    makeAction(actExit, "actExit", QStringLiteral("Verlassen"), "beenden");
    connect(actNew, &QAction::triggered, this, &TfrmFormMailerTemplates::actNewExecute);
    connect(actEdit, &QAction::triggered, this, &TfrmFormMailerTemplates::actEditExecute);
    connect(actDelete, &QAction::triggered, this, &TfrmFormMailerTemplates::actDeleteExecute);
    connect(actExit, &QAction::triggered, this, &QWidget::close);

    auto *menuBar = new QMenuBar(this);
    QMenu *file = menuBar->addMenu(QStringLiteral("&Datei"));
    file->addAction(actNew);
    file->addAction(actEdit);
    file->addAction(actDelete);
    file->addSeparator();
    file->addAction(actExit);

    auto *toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar->setIconSize(QSize(16, 16));
    toolBar->setMovable(false);
    toolBar->addAction(actNew);
    toolBar->addAction(actEdit);
    toolBar->addAction(actDelete);
    toolBar->addSeparator();
    toolBar->addAction(actExit);
    for (QAction *a : {actNew, actEdit, actDelete, actExit}) {
        if (QWidget *button = toolBar->widgetForAction(a))
            button->setMinimumSize(58, 36);
    }

    lstLinks = new QTableWidget(0, 1, this);
    lstLinks->setObjectName(QStringLiteral("lstLinks"));
    lstLinks->setAccessibleName(QStringLiteral("Link zum Formmailer"));
    lstLinks->setHorizontalHeaderLabels({QStringLiteral("Link zum Formmailer")});
    lstLinks->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lstLinks->horizontalHeader()->setHighlightSections(false);
    lstLinks->verticalHeader()->hide();
    lstLinks->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    lstLinks->setColumnWidth(0, 500);
    lstLinks->setShowGrid(true);
    lstLinks->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstLinks->setSelectionMode(QAbstractItemView::SingleSelection);
    lstLinks->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstLinks->setWordWrap(false);
    connect(lstLinks, &QTableWidget::doubleClicked, actEdit, &QAction::trigger);

    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    v->setMenuBar(menuBar);
    v->addWidget(toolBar);
    v->addWidget(lstLinks, 1);

    // A missing or foreign file gives an empty list; nothing is reported.
    for (const QString &link : FormMailers::readManagerEntries(m_path))
        appendRow(link);

    resize(658, 246 + menuBar->sizeHint().height());
    lstLinks->setFocus();
}

void TfrmFormMailerTemplates::manage(QWidget *parent)
{
    TfrmFormMailerTemplates window(parent);
    window.exec();
}

QStringList TfrmFormMailerTemplates::links() const
{
    QStringList list;
    for (int row = 0; row < lstLinks->rowCount(); ++row)
        list << lstLinks->item(row, 0)->text();
    return list;
}

void TfrmFormMailerTemplates::appendRow(const QString &text)
{
    const int row = lstLinks->rowCount();
    lstLinks->insertRow(row);
    lstLinks->setItem(row, 0, new QTableWidgetItem);
    setRowText(row, text);
}

void TfrmFormMailerTemplates::setRowText(int row, const QString &text)
{
    QTableWidgetItem *item = lstLinks->item(row, 0);
    item->setText(text);
    // An address longer than the column is shown in full as a tip.
    item->setToolTip(text);
}

int TfrmFormMailerTemplates::selectedRow() const
{
    const QModelIndexList rows = lstLinks->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TfrmFormMailerTemplates::actNewExecute()
{
    TfrmFormMailLinkEdit dialog(this);
    if (dialog.exec() == QDialog::Accepted)
        appendRow(dialog.link());
}

void TfrmFormMailerTemplates::actEditExecute()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    TfrmFormMailLinkEdit dialog(this);
    dialog.setLink(lstLinks->item(row, 0)->text());
    if (dialog.exec() == QDialog::Accepted)
        setRowText(row, dialog.link());
}

void TfrmFormMailerTemplates::actDeleteExecute()
{
    const int row = selectedRow();
    if (row >= 0)
        lstLinks->removeRow(row);
}

bool TfrmFormMailerTemplates::SaveFormmailers()
{
    QString error;
    if (FormMailers::save(m_path, links(), &error))
        return true;
    Prompts::message(this, QStringLiteral("Fehler"), error, Prompts::Critical);
    return false;
}

void TfrmFormMailerTemplates::reject()
{
    // The close box and Escape reach reject(), "Verlassen" through close().
    switch (Prompts::question(this, QStringLiteral("Bestätigen"), QStringLiteral("Änderungen speichern?"), true, Prompts::Question)) {
    case Prompts::Yes:
        if (SaveFormmailers())
            QDialog::accept();
        break;
    case Prompts::No:
        QDialog::reject();
        break;
    default:
        break;
    }
}

void TfrmFormMailerTemplates::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_centred && parentWidget()) {
        m_centred = true;
        Placement::centreOnOwner(this);
    }
}
