#include "ui/TGParamDlg.h"

#include "ui/ClickableLineEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

namespace quorrel {

namespace {

constexpr char ListHint[] = "Select one from the list";
constexpr char AmountHint[] = "A integer between 1 and 10";
constexpr char MaxLengthProperty[] = "quorrelMaxLength";

QLineEdit* Edit(QWidget* parent, int maxLength, const char* hint = nullptr)
{
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(maxLength);
    edit->setProperty(MaxLengthProperty, maxLength);
    if (hint != nullptr)
        edit->setToolTip(QString::fromLatin1(hint));
    return edit;
}

// An editable list: typed text counts only when it equals an item exactly.
QComboBox* List(QWidget* parent, const QStringList& items, int maxLength)
{
    auto* list = new QComboBox(parent);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->addItems(items);
    list->completer()->setCaseSensitivity(Qt::CaseSensitive);
    if (maxLength > 0)
        list->lineEdit()->setMaxLength(maxLength);
    list->lineEdit()->setProperty(MaxLengthProperty, maxLength > 0 ? maxLength : 32767);
    list->setToolTip(QString::fromLatin1(ListHint));
    return list;
}

// A stored value longer than the box's limit (a seed read from a file, say) is shown whole
// rather than cut: the limit only bounds what the user types.
void Show(QLineEdit* edit, const std::string& text)
{
    const QString value = QString::fromStdString(text);
    const int limit = edit->property(MaxLengthProperty).toInt();
    edit->setMaxLength(std::max(limit, static_cast<int>(value.size())));
    edit->setText(value);
}

void Show(QComboBox* list, const std::string& text)
{
    list->setCurrentIndex(list->findText(QString::fromStdString(text)));
    Show(list->lineEdit(), text);
}

std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }
std::string Text(const QComboBox* list) { return list->currentText().toStdString(); }

} // namespace

TGParamDlg::TGParamDlg(ParameterSet& params, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), params_(params), dialogs_(dialogs)
{
    setWindowTitle(QStringLiteral("Input General Parameters"));
    setModal(true);

    Maxspec = Edit(this, 2, "a number between 2 and 40");
    MaxX = Edit(this, 3);
    MaxY = Edit(this, 3);
    PIX = Edit(this, 3);
    Maxgen = Edit(this, 5);
    RandSeed = Edit(this, 4);
    Init = List(this, {"Random", "Gradient", "Grid"}, 8);
    Cover = List(this, {"Random", "Blocks", "File"}, 0);
    TotalCover = Edit(this, 6);
    Border = List(this, {"Torus", "Open"}, 5);
    OverGRate = Edit(this, 3);
    DisturbProb = Edit(this, 10);
    PatchSize = Edit(this, 10);
    PatchType = List(this, {"Square", "Random"}, 0);
    Influx = Edit(this, 10);
    RecruitType = List(this, {"Open", "Closed"}, 0);
    MutationGR = Edit(this, 10);
    MutAmtGR = Edit(this, 2, AmountHint);
    MutationOTC = Edit(this, 10);
    MutAmtOTC = Edit(this, 2, AmountHint);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CoverFile = new ClickableLineEdit(this);
    CoverFile->setToolTip(QStringLiteral("File from which to read the landscape when Cover=File"));
    CoverFile->setProperty(MaxLengthProperty, 32767);
    MeanField = new QCheckBox(this);

    auto* grid = new QGridLayout;
    int row = 0;
    auto line = [&](const char* caption, QWidget* field, const char* unit = nullptr) {
        grid->addWidget(new QLabel(QString::fromLatin1(caption), this), row, 0);
        grid->addWidget(field, row, 1);
        if (unit != nullptr)
            grid->addWidget(new QLabel(QString::fromLatin1(unit), this), row, 2);
        ++row;
    };
    auto* size = new QWidget(this);
    auto* sizeRow = new QHBoxLayout(size);
    sizeRow->setContentsMargins(0, 0, 0, 0);
    sizeRow->addWidget(MaxX);
    sizeRow->addWidget(new QLabel(QStringLiteral(" x"), size));
    sizeRow->addWidget(MaxY);
    line("Number of species:", Maxspec);
    line("Landscape size:", size, "cells");
    line("Number of  pixels per cell:", PIX);
    line("Number of generations:", Maxgen);
    line("Random number seed:", RandSeed);
    line("Distribution  of init. growth rate:", Init);
    line("Type of initial cover:", Cover);
    line("Total initial cover:", TotalCover, "%");
    line("Border type:", Border);
    line("Over-growth rate:", OverGRate, "%");
    line("Probability of disturbance:", DisturbProb);
    line("Patch size:", PatchSize, "cells");
    line("Patch type:", PatchType);
    line("Probability of influx:", Influx);
    line("Recruitment Type:", RecruitType, "system");
    line("Initial cover filename:", CoverFile);
    line("Mean field approximation:", MeanField);

    auto mutation = [this](const char* title, QLineEdit* probability, QLineEdit* amount) {
        auto* group = new QGroupBox(QString::fromLatin1(title), this);
        auto* form = new QGridLayout(group);
        form->addWidget(new QLabel(QStringLiteral("Probability:"), group), 0, 0);
        form->addWidget(probability, 0, 1);
        form->addWidget(new QLabel(QStringLiteral("Amount:"), group), 1, 0);
        form->addWidget(amount, 1, 1);
        return group;
    };
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(mutation("Mutation on growth rates", MutationGR, MutAmtGR));
    layout->addWidget(mutation("Mutation on variable outcome", MutationOTC, MutAmtOTC));
    layout->addLayout(buttons);

    const QList<QWidget*> order{Maxspec,     MaxX,       MaxY,       PIX,         Maxgen,    RandSeed,
                                Init,        Cover,      TotalCover, Border,      OverGRate, DisturbProb,
                                PatchSize,   PatchType,  Influx,     RecruitType, MutationGR, MutAmtGR,
                                MutationOTC, MutAmtOTC,  OKBtn,      CancelBtn,   CoverFile, MeanField};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &TGParamDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(CoverFile, &ClickableLineEdit::clicked, this, &TGParamDlg::CoverFileClick);
}

void TGParamDlg::FormShow()
{
    const GeneralParameterTexts t = GeneralParameterTextsFrom(params_.GParamRec);
    Show(Maxspec, t.Maxspec);
    Show(MaxX, t.MaxX);
    Show(MaxY, t.MaxY);
    Show(PIX, t.PIX);
    Show(Maxgen, t.Maxgen);
    Show(RandSeed, t.RandSeed);
    Show(Init, t.Init);
    Show(Cover, t.Cover);
    Show(TotalCover, t.TotalCover);
    Show(Border, t.Border);
    Show(OverGRate, t.OverGRate);
    Show(DisturbProb, t.DisturbProb);
    Show(PatchSize, t.PatchSize);
    Show(PatchType, t.PatchType);
    Show(Influx, t.Influx);
    Show(RecruitType, t.RecruitType);
    Show(MutationGR, t.MutationGR);
    Show(MutAmtGR, t.MutAmtGR);
    Show(MutationOTC, t.MutationOTC);
    Show(MutAmtOTC, t.MutAmtOTC);
    Show(CoverFile, t.CoverFile);
    MeanField->setChecked(t.MeanField);
    Maxspec->setFocus();
}

GeneralParameterTexts TGParamDlg::Texts() const
{
    GeneralParameterTexts t;
    t.Maxspec = Text(Maxspec);
    t.MaxX = Text(MaxX);
    t.MaxY = Text(MaxY);
    t.PIX = Text(PIX);
    t.Maxgen = Text(Maxgen);
    t.RandSeed = Text(RandSeed);
    t.Init = Text(Init);
    t.Cover = Text(Cover);
    t.CoverFile = Text(CoverFile);
    t.Border = Text(Border);
    t.TotalCover = Text(TotalCover);
    t.OverGRate = Text(OverGRate);
    t.DisturbProb = Text(DisturbProb);
    t.PatchSize = Text(PatchSize);
    t.PatchType = Text(PatchType);
    t.Influx = Text(Influx);
    t.RecruitType = Text(RecruitType);
    t.MutationGR = Text(MutationGR);
    t.MutAmtGR = Text(MutAmtGR);
    t.MutationOTC = Text(MutationOTC);
    t.MutAmtOTC = Text(MutAmtOTC);
    t.MeanField = MeanField->isChecked();
    return t;
}

void TGParamDlg::OKBtnClick()
{
    GeneralParameterCheckResult checked = CheckGeneralParameters(Texts());
    if (!checked.Record) {
        dialogs_.Message(MessageKind::Error, checked.Message, MessageButtons::Retry);
        return;
    }
    params_.GParamRec = std::move(*checked.Record);
    accept();
}

void TGParamDlg::CoverFileClick()
{
    const std::filesystem::path current(Text(CoverFile));
    FileDialogRequest request;
    request.title = "Initial landscape coverage File";
    request.filter = std::string("Text") + " files (*." + "txt" + ")|*." + "txt" + "|All files (*.*)|*.*";
    request.defaultExtension = "txt";
    request.initialFolder = current.has_parent_path() ? current.parent_path().string() : params_.StartDir.string();
    request.initialName = current.filename().string();
    if (const std::optional<std::string> chosen = dialogs_.ChooseFile(request))
        Show(CoverFile, *chosen);
}

} // namespace quorrel
