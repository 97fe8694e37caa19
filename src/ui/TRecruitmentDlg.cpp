#include "ui/TRecruitmentDlg.h"

#include "ui/GridCells.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quorrel {

TRecruitmentDlg::TRecruitmentDlg(ParameterSet& params, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), model_(params, dialogs)
{
    setWindowTitle(QStringLiteral("Input Recruitment Vector"));
    RecruitmentGrid = NewStringGrid(this);
    RecruitmentGrid->setMinimumSize(190, 240);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    ResetBtn = new QPushButton(QStringLiteral("Reset"), this);
    connect(OKBtn, &QPushButton::clicked, this, &TRecruitmentDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(ResetBtn, &QPushButton::clicked, this, &TRecruitmentDlg::ResetBtnClick);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {OKBtn, CancelBtn, ResetBtn})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RecruitmentGrid, 1);
    layout->addLayout(buttons);
    Fill();
}

void TRecruitmentDlg::Prepare()
{
    model_.Load();
    Fill();
}

void TRecruitmentDlg::showEvent(QShowEvent* event)
{
    Prepare();
    QDialog::showEvent(event);
}

void TRecruitmentDlg::Fill()
{
    const int n = model_.Species();
    RecruitmentGrid->setRowCount(n + 1);
    RecruitmentGrid->setColumnCount(2);
    RecruitmentGrid->setColumnWidth(0, 80);
    RecruitmentGrid->setColumnWidth(1, 90);
    SetCell(*RecruitmentGrid, 0, 0, QStringLiteral("Species No."));
    SetCell(*RecruitmentGrid, 0, 1, QStringLiteral("Prob Recruit"));
    for (int s = 1; s <= n; ++s) {
        SetCell(*RecruitmentGrid, s, 0, QString::number(s));
        SetCell(*RecruitmentGrid, s, 1, QString::fromStdString(model_.Cell(s)), CellAccess::Editable);
    }
}

void TRecruitmentDlg::OKBtnClick()
{
    for (int s = 1; s <= model_.Species(); ++s)
        model_.Cell(s) = CellText(*RecruitmentGrid, s, 1).toStdString();
    if (model_.Commit())
        accept();
}

void TRecruitmentDlg::ResetBtnClick()
{
    if (model_.Reset())
        Fill();
}

} // namespace quorrel
