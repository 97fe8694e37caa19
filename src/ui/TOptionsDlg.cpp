#include "ui/TOptionsDlg.h"

#include "ui/ClickableLineEdit.h"
#include "ui/OptionEnabling.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColor>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cmath>
#include <string>

namespace quorrel {

namespace {

constexpr char SlidingWindowsCaption[] = "Sliding Windows";

// A small picture of what an output looks like: a patch of landscape or a few curves.
QPixmap SamplePicture(bool landscape)
{
    QPixmap picture(48, 32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    const QColor colours[] = {Qt::black, Qt::red, Qt::green, Qt::blue, Qt::yellow};
    if (landscape) {
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 12; ++x)
                painter.fillRect(x * 4, y * 4, 4, 4, colours[(x * 7 + y * 3 + (x * y) % 4) % 5]);
    } else {
        auto height = [](int c, int x) { return 16 + int(10 * std::sin(x / (4.0 + c) + c * 2.0)); };
        for (int c = 1; c < 4; ++c) {
            painter.setPen(colours[c]);
            for (int x = 1; x < 46; ++x)
                painter.drawLine(x, height(c, x), x + 1, height(c, x + 1));
        }
        painter.setPen(Qt::black);
        painter.drawRect(0, 0, 47, 31);
    }
    return picture;
}

QLabel* Label(QWidget* parent, const char* text)
{
    return new QLabel(QString::fromLatin1(text), parent);
}

// A row of widgets and captions, left-aligned.
QWidget* Row(QWidget* parent, std::initializer_list<QWidget*> widgets)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : widgets) {
        w->setParent(row);
        layout->addWidget(w);
    }
    layout->addStretch();
    return row;
}

} // namespace

TOptionsDlg::TOptionsDlg(OptionStruct& options, const ParameterSet& params, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), live_(options), params_(params), dialogs_(dialogs), editor_(options, params, dialogs)
{
    setWindowTitle(QStringLiteral("Output Options"));
    setModal(true);

    Pages = new QTabWidget(this);
    Pages->addTab(LandscapePage(), QStringLiteral("Landscape"));
    Pages->addTab(StatisticsPage(), QStringLiteral("Statistics"));
    Pages->addTab(TimePlotPage(), QStringLiteral("Time Plots"));
    Pages->addTab(OutcomePage(), QStringLiteral("Outcome"));
    Pages->addTab(GCGraphPage(), QStringLiteral("GR-Competitive"));
    Pages->addTab(SlidingWindowsPage(), QString::fromLatin1(SlidingWindowsCaption));

    OKBtn = new QPushButton(QStringLiteral("&OK"), this);
    CancelBtn = new QPushButton(QStringLiteral("&Cancel"), this);
    DefaultBtn = new QPushButton(QStringLiteral("&Default"), this);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &TOptionsDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(DefaultBtn, &QPushButton::clicked, this, &TOptionsDlg::DefaultBtnClick);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(DefaultBtn);
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Pages);
    layout->addWidget(Label(this, "File options are valid only for runs: 'single landscape, single run'."));
    layout->addLayout(buttons);

    FormShow();
}

QCheckBox* TOptionsDlg::Check(QWidget* parent, const char* caption, bool OptionStruct::*field, bool withSample)
{
    auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
    QLabel* sample = nullptr;
    if (withSample) {
        sample = new QLabel(parent);
        const bool landscape = field == &OptionStruct::ShowCALandscape;
        sample->setPixmap(SamplePicture(landscape));
    }
    checks_.push_back({field, box, sample});
    connect(box, &QCheckBox::toggled, this, [this, field, sample](bool on) {
        if (sample != nullptr)
            sample->setVisible(on);
        if (filling_)
            return;
        editor_.Working.*field = on;
        UpdateEnabling();
    });
    return box;
}

QCheckBox* TOptionsDlg::CheckBox(bool OptionStruct::*field) const
{
    for (const CheckControl& c : checks_)
        if (c.field == field)
            return c.box;
    return nullptr;
}

QLabel* TOptionsDlg::Sample(bool OptionStruct::*field) const
{
    for (const CheckControl& c : checks_)
        if (c.field == field)
            return c.sample;
    return nullptr;
}

QLineEdit* TOptionsDlg::Number(QWidget* parent, OptionNumber field, int maxLength)
{
    auto* box = new QLineEdit(parent);
    box->setMaxLength(maxLength);
    box->setFixedWidth(70);
    numbers_[field] = box;
    connect(box, &QLineEdit::editingFinished, this, [this, field] { NumberChange(field); });
    return box;
}

ClickableLineEdit* TOptionsDlg::FileName(QWidget* parent, OptionFile file)
{
    auto* box = new ClickableLineEdit(parent);
    box->setMinimumWidth(320);
    files_[file] = box;
    connect(box, &ClickableLineEdit::clicked, this, [this, file] { FileNameClick(file); });
    return box;
}

QWidget* TOptionsDlg::FileTypes(QWidget* parent, int32_t OptionStruct::*field, QButtonGroup*& group)
{
    group = new QButtonGroup(parent);
    auto* text = new QRadioButton(QStringLiteral("Text"));
    auto* bitmap = new QRadioButton(QStringLiteral("Bitmap"));
    auto* both = new QRadioButton(QStringLiteral("Both"));
    group->addButton(text, 1);
    group->addButton(bitmap, 2);
    group->addButton(both, 3);
    connect(group, &QButtonGroup::idToggled, this, [this, field](int id, bool on) {
        if (on && !filling_)
            editor_.Working.*field = id;
    });
    return Row(parent, {Label(nullptr, "File type:"), text, bitmap, both});
}

QWidget* TOptionsDlg::LandscapePage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    QCheckBox* show = Check(page, "Show CA landscape", &OptionStruct::ShowCALandscape, true);
    layout->addWidget(Row(page, {show, Sample(&OptionStruct::ShowCALandscape)}));
    layout->addWidget(Row(page, {Label(nullptr, "Display every"), Number(page, OptionNumber::DisplayCycle),
                                 Label(nullptr, "generations")}));

    auto* final = new QGroupBox(QStringLiteral("Final landscape"), page);
    auto* finalLayout = new QVBoxLayout(final);
    finalLayout->addWidget(Check(final, "Write the final landscape image to a file.", &OptionStruct::WriteLandscape));
    QWidget* finalTypes = FileTypes(final, &OptionStruct::WriteLandTypes, WriteLandTypes);
    finalLayout->addWidget(finalTypes);
    finalTypeButtons_ = {finalTypes};
    layout->addWidget(final);

    auto* multiple = new QGroupBox(QStringLiteral("Multiple landscapes"), page);
    auto* multipleLayout = new QVBoxLayout(multiple);
    multipleLayout->addWidget(
        Check(multiple, "Write multiple landscape images to a file.", &OptionStruct::WriteIntScape));
    QWidget* intTypes = FileTypes(multiple, &OptionStruct::WriteIntTypes, WriteIntTypes);
    QWidget* every = Row(multiple, {Label(nullptr, "every"), Number(multiple, OptionNumber::WriteIntEvery),
                                    Label(nullptr, "generations, from generation"),
                                    Number(multiple, OptionNumber::WriteIntFrom), Label(nullptr, "until generation"),
                                    Number(multiple, OptionNumber::WriteIntUntil)});
    QCheckBox* consolid = Check(multiple, "Use a single text file for all landscapes.", &OptionStruct::WriteConsolid);
    multipleLayout->addWidget(intTypes);
    multipleLayout->addWidget(every);
    multipleLayout->addWidget(consolid);
    multipleControls_ = {intTypes, every, consolid};
    layout->addWidget(multiple);

    layout->addWidget(Row(page, {Label(nullptr, "File name:"), FileName(page, OptionFile::CAFilename)}));
    layout->addStretch();
    return page;
}

QWidget* TOptionsDlg::StatisticsPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    QCheckBox* coverage = Check(page, "Show coverage of each species", &OptionStruct::ShowCoverage, true);
    layout->addWidget(Row(page, {coverage, Sample(&OptionStruct::ShowCoverage)}));
    layout->addWidget(Check(page, "Write cover of each species to file", &OptionStruct::WriteCoverage));
    layout->addWidget(Row(page, {Label(nullptr, "File name:"), FileName(page, OptionFile::CoverFilename)}));
    QCheckBox* rate1 =
        Check(page, "Show average growth rates of all cells for each species", &OptionStruct::ShowGRate1, true);
    layout->addWidget(Row(page, {rate1, Sample(&OptionStruct::ShowGRate1)}));
    QCheckBox* rate2 =
        Check(page, "Show average genotype of growth rates for each species", &OptionStruct::ShowGRate2, true);
    layout->addWidget(Row(page, {rate2, Sample(&OptionStruct::ShowGRate2)}));
    layout->addWidget(Check(page, "Write average growth rates to file", &OptionStruct::WriteGRate));
    layout->addWidget(Row(page, {Label(nullptr, "File name:"), FileName(page, OptionFile::GRateFilename)}));
    layout->addStretch();
    return page;
}

QWidget* TOptionsDlg::TimePlotPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    QCheckBox* st = Check(page, "Show space-time plot", &OptionStruct::ShowSTPlot, true);
    layout->addWidget(Row(page, {st, Sample(&OptionStruct::ShowSTPlot)}));
    layout->addWidget(Row(page, {Label(nullptr, "Every"), Number(page, OptionNumber::STPlotCycle),
                                 Label(nullptr, "generations")}));
    layout->addWidget(Check(page, "Write space-time plot to file", &OptionStruct::WriteSTP));
    layout->addWidget(Row(page, {Label(nullptr, "File name:"), FileName(page, OptionFile::STPlotFilename)}));
    QCheckBox* ft = Check(page, "Show frequency-time plot of growth rates", &OptionStruct::ShowFTPlot, true);
    layout->addWidget(Row(page, {ft, Sample(&OptionStruct::ShowFTPlot)}));
    layout->addWidget(Row(page, {Label(nullptr, "For species:"), Number(page, OptionNumber::FTPSpecies, 2),
                                 Label(nullptr, "Every"), Number(page, OptionNumber::FTPlotCycle),
                                 Label(nullptr, "generations")}));
    layout->addWidget(Check(page, "Write frequency-time plot for growth rates to file", &OptionStruct::WriteFTP));
    layout->addWidget(Row(page, {Label(nullptr, "File name:"), FileName(page, OptionFile::FTPlotFilename)}));
    layout->addStretch();
    return page;
}

QWidget* TOptionsDlg::OutcomePage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    QCheckBox* otc =
        Check(page, "Show average probability of win/loss/standoff of each species", &OptionStruct::ShowOTC, true);
    layout->addWidget(Row(page, {otc, Sample(&OptionStruct::ShowOTC)}));
    layout->addWidget(Check(page, "Write average probability of each species to file", &OptionStruct::WriteOTC));
    layout->addWidget(Row(page, {Label(nullptr, "File name:"), FileName(page, OptionFile::OTCFilename)}));
    QCheckBox* ft = Check(page, "Show frequency-time plot of variable outcome", &OptionStruct::ShowFTPOTC, true);
    layout->addWidget(Row(page, {ft, Sample(&OptionStruct::ShowFTPOTC)}));
    layout->addWidget(Row(page, {Label(nullptr, "For species:"), Number(page, OptionNumber::FTPOTCSpecies, 2),
                                 Label(nullptr, "Every"), Number(page, OptionNumber::FTPOTCCycle),
                                 Label(nullptr, "generations")}));
    layout->addWidget(
        Check(page, "Write frequency-time plot of variable outcome to file", &OptionStruct::WriteFTPOTC));
    layout->addWidget(Row(page, {Label(nullptr, "File name:"), FileName(page, OptionFile::FTPOTCFilename)}));
    layout->addStretch();
    return page;
}

QWidget* TOptionsDlg::GCGraphPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    QCheckBox* show = Check(page, "Show Growth Rate-Competitive graph", &OptionStruct::ShowGCGraph, true);
    layout->addWidget(Row(page, {show, Sample(&OptionStruct::ShowGCGraph)}));
    GCCycle = new QLineEdit;
    GCCycle->setReadOnly(true);
    GCCycle->setFixedWidth(70);
    layout->addWidget(Row(page, {Label(nullptr, "For species:"), Number(page, OptionNumber::GCSpecies, 2),
                                 Label(nullptr, "against species:"), Number(page, OptionNumber::GCSpeciesA, 2)}));
    layout->addWidget(Row(page, {Label(nullptr, "Every"), GCCycle, Label(nullptr, "generations (same as Landscape)")}));
    layout->addWidget(Check(page, "Write Growth rate-Competitive graph to file", &OptionStruct::WriteGCGraph));
    layout->addWidget(Row(page, {Label(nullptr, "File name:"), FileName(page, OptionFile::GCFilename)}));
    layout->addStretch();
    return page;
}

QWidget* TOptionsDlg::SlidingWindowsPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Check(page, "Write the results to a file.", &OptionStruct::WriteSW));
    QWidget* generations = Row(page, {Label(nullptr, "every"), Number(page, OptionNumber::GenSWEvery),
                                      Label(nullptr, "generations, from generation"),
                                      Number(page, OptionNumber::GenSWFrom), Label(nullptr, "until generation"),
                                      Number(page, OptionNumber::GenSWUntil)});
    QWidget* delta = Row(page, {Label(nullptr, "Length increment"), Number(page, OptionNumber::DeltaSideSW, 3),
                                Label(nullptr, "cells")});
    QWidget* name = Row(page, {Label(nullptr, "File name:"), FileName(page, OptionFile::SWFilename)});

    auto* species = new QGroupBox(QStringLiteral("Select species"), page);
    auto* grid = new QGridLayout(species);
    for (int s = 0; s <= MaxSpecies; ++s) {
        const QString caption =
            s == 0 ? QStringLiteral("Unoccupied") : QStringLiteral("%1").arg(s, 2, 10, QLatin1Char(' '));
        auto* box = new QCheckBox(caption, species);
        SpeciesBoxes[s] = box;
        grid->addWidget(box, s == 0 ? 0 : 1 + (s - 1) / 10, s == 0 ? 0 : (s - 1) % 10, 1, s == 0 ? 3 : 1);
        connect(box, &QCheckBox::toggled, this, [this, s](bool on) {
            if (!filling_)
                editor_.Working.SWSpeciesMask.set(s, on);
        });
    }
    ClearAllBtn = new QPushButton(QStringLiteral("Clear all species"), species);
    SetAllBtn = new QPushButton(QStringLiteral("Set all species"), species);
    connect(ClearAllBtn, &QPushButton::clicked, this, &TOptionsDlg::ClearAllSpeciesClick);
    connect(SetAllBtn, &QPushButton::clicked, this, &TOptionsDlg::SetAllSpeciesClick);
    grid->addWidget(ClearAllBtn, 5, 0, 1, 3);
    grid->addWidget(SetAllBtn, 5, 3, 1, 3);

    layout->addWidget(generations);
    layout->addWidget(delta);
    layout->addWidget(name);
    layout->addWidget(species);
    layout->addWidget(Label(page, "Sliding windows are only applicable to 'single landscape, single run'."));
    layout->addStretch();
    slidingControls_ = {generations, delta, name, species};
    return page;
}

void TOptionsDlg::FormShow()
{
    editor_.Reset();
    Fill();
}

void TOptionsDlg::Fill()
{
    filling_ = true;
    const OptionStruct& o = editor_.Working;
    for (const CheckControl& c : checks_) {
        c.box->setChecked(o.*c.field);
        if (c.sample != nullptr)
            c.sample->setVisible(o.*c.field);
    }
    if (QAbstractButton* b = WriteLandTypes->button(o.WriteLandTypes))
        b->setChecked(true);
    if (QAbstractButton* b = WriteIntTypes->button(o.WriteIntTypes))
        b->setChecked(true);
    for (const auto& [file, box] : files_)
        box->setText(QString::fromStdString(OptionFileName(editor_.Working, file)));
    for (int s = 0; s <= MaxSpecies; ++s)
        SpeciesBoxes[s]->setChecked(o.SWSpeciesMask.test(s));
    filling_ = false;
    FillNumbers();
    UpdateEnabling();
}

void TOptionsDlg::FillNumbers()
{
    for (const auto& [field, box] : numbers_)
        box->setText(QString::fromStdString(editor_.Text(field)));
    GCCycle->setText(QString::fromStdString(editor_.Text(OptionNumber::DisplayCycle)));
}

void TOptionsDlg::UpdateEnabling()
{
    const OptionEnabling e = OptionEnabling::Of(editor_.Working);
    numbers_.at(OptionNumber::DisplayCycle)->setEnabled(e.DisplayCycle);
    for (QWidget* w : finalTypeButtons_)
        w->setEnabled(e.FinalLandscapeTypes);
    for (QWidget* w : multipleControls_)
        w->setEnabled(e.MultipleLandscapes);
    files_.at(OptionFile::CAFilename)->setEnabled(e.CAFilename);
    files_.at(OptionFile::CoverFilename)->setEnabled(e.CoverFilename);
    files_.at(OptionFile::GRateFilename)->setEnabled(e.GRateFilename);
    numbers_.at(OptionNumber::STPlotCycle)->setEnabled(e.STPlotCycle);
    files_.at(OptionFile::STPlotFilename)->setEnabled(e.STPlotFilename);
    numbers_.at(OptionNumber::FTPSpecies)->setEnabled(e.FTPlot);
    numbers_.at(OptionNumber::FTPlotCycle)->setEnabled(e.FTPlot);
    files_.at(OptionFile::FTPlotFilename)->setEnabled(e.FTPlotFilename);
    files_.at(OptionFile::OTCFilename)->setEnabled(e.OTCFilename);
    numbers_.at(OptionNumber::GCSpecies)->setEnabled(e.GCGraph);
    numbers_.at(OptionNumber::GCSpeciesA)->setEnabled(e.GCGraph);
    files_.at(OptionFile::GCFilename)->setEnabled(e.GCFilename);
    numbers_.at(OptionNumber::FTPOTCSpecies)->setEnabled(e.FTPOTC);
    numbers_.at(OptionNumber::FTPOTCCycle)->setEnabled(e.FTPOTC);
    files_.at(OptionFile::FTPOTCFilename)->setEnabled(e.FTPOTCFilename);
    for (QWidget* w : slidingControls_)
        w->setEnabled(e.SlidingWindows);
}

void TOptionsDlg::NumberChange(OptionNumber field)
{
    editor_.Edit(field, numbers_.at(field)->text().toStdString());
    FillNumbers();
}

void TOptionsDlg::FileNameClick(OptionFile file)
{
    std::string& name = OptionFileName(editor_.Working, file);
    if (const std::optional<std::string> chosen = ChooseOptionFile(file, name, params_.StartDir, dialogs_)) {
        name = *chosen;
        files_.at(file)->setText(QString::fromStdString(name));
    }
}

void TOptionsDlg::ClearAllSpeciesClick()
{
    for (int s = 1; s <= MaxSpecies; ++s)
        SpeciesBoxes[s]->setChecked(false);
}

void TOptionsDlg::SetAllSpeciesClick()
{
    for (int s = 1; s <= MaxSpecies; ++s)
        SpeciesBoxes[s]->setChecked(true);
}

void TOptionsDlg::OKBtnClick()
{
    // A box still being typed into (OK chosen by its access key) counts as entered.
    for (const auto& [field, box] : numbers_)
        if (box->isModified())
            NumberChange(field);
    if (!editor_.ConfirmOk())
        return;
    live_ = editor_.Working;
    accept();
}

void TOptionsDlg::DefaultBtnClick()
{
    editor_.Default();
    Fill();
}

} // namespace quorrel
