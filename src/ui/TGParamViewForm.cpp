#include "ui/TGParamViewForm.h"

#include "params/GeneralParameterCheck.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorrel {

namespace {

struct Row {
    const char* key;
    const char* caption;
    const char* unit;
};

constexpr Row Rows[] = {
    {"Maxspec", "Number of species:", nullptr},
    {"MaxX", "Landscape width:", "cells"},
    {"MaxY", "Landscape height:", "cells"},
    {"PIX", "Pixels per cell:", nullptr},
    {"Maxgen", "Number of generations:", nullptr},
    {"RandSeed", "Random number seed:", nullptr},
    {"Init", "Distribution of init. GRate:", nullptr},
    {"Cover", "Type of initial cover:", nullptr},
    {"CoverFile", "Initial cover filename:", nullptr},
    {"TotalCover", "Total initial cover:", "%"},
    {"Border", "Border type:", nullptr},
    {"OverGRate", "Over-growth rate:", "%"},
    {"DisturbProb", "Prob. of disturbance:", nullptr},
    {"PatchSize", "Patch size:", "cells"},
    {"PatchType", "Patch type:", nullptr},
    {"Influx", "Prob. of influx:", nullptr},
    {"RecruitType", "Recruitment type:", "system"},
    {"MutationGR", "Mutation on GRates, prob.:", nullptr},
    {"MutAmtGR", "Mutation on GRates, amount:", nullptr},
    {"MutationOTC", "Mutation on outcome, prob.:", nullptr},
    {"MutAmtOTC", "Mutation on outcome, amount:", nullptr},
};

} // namespace

TGParamViewForm::TGParamViewForm(const ParameterSet& params, QWidget* parent) : QDialog(parent), params_(params)
{
    setWindowTitle(QStringLiteral("General Parameters"));
    auto* grid = new QGridLayout;
    int row = 0;
    for (const Row& r : Rows) {
        auto* value = new QLineEdit(this);
        value->setReadOnly(true);
        value->setMinimumWidth(240);
        values_[r.key] = value;
        grid->addWidget(new QLabel(QString::fromLatin1(r.caption), this), row, 0);
        grid->addWidget(value, row, 1);
        if (r.unit != nullptr)
            grid->addWidget(new QLabel(QString::fromLatin1(r.unit), this), row, 2);
        ++row;
    }
    MeanField = new QCheckBox(QStringLiteral("Mean field approximation"), this);
    grid->addWidget(MeanField, row, 0, 1, 2);
    // A click may not change what the window shows: the box snaps back.
    connect(MeanField, &QCheckBox::clicked, this,
            [this] { MeanField->setChecked(params_.GParamRec.MeanField); });

    CloseBtn = new QPushButton(QStringLiteral("Close"), this);
    connect(CloseBtn, &QPushButton::clicked, this, &QDialog::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CloseBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    Refresh();
}

void TGParamViewForm::Refresh()
{
    GeneralParameterTexts t = GeneralParameterTextsFrom(params_.GParamRec);
    // The view names the closed system "Close".
    if (params_.GParamRec.RecruitType == 1)
        t.RecruitType = "Close";
    for (const Row& r : Rows)
    {
        QLineEdit* value = values_.at(r.key);
        value->setText(QString::fromStdString(*t.Field(r.key)));
        value->setCursorPosition(0);
    }
    MeanField->setChecked(t.MeanField);
}

QString TGParamViewForm::Value(const std::string& key) const
{
    const auto it = values_.find(key);
    return it == values_.end() ? QString() : it->second->text();
}

} // namespace quorrel
