#include "ui/GrowthRateEditorModel.h"

#include "params/AssertionFailure.h"
#include "params/FieldParsers.h"
#include "params/ParameterRules.h"
#include "ui/EditorTexts.h"

#include <algorithm>
#include <cmath>

namespace quorrel {

namespace {

constexpr const char* Diagonal = "  -";

// A cell's whole percentage 0..100, or nothing (blank or not such a number).
std::optional<int> Percentage(const std::string& text)
{
    const IntField field = ParseIntField(Trimmed(text));
    if (field.Status != FieldStatus::Value || !rules::WholePercent(field.Value))
        return std::nullopt;
    return field.Value;
}

bool Blank(const std::string& text)
{
    return Trimmed(text).empty();
}

} // namespace

GrowthRateEditorModel::GrowthRateEditorModel(ParameterSet& params, Rng& rng, Dialogs& dialogs)
    : params_(params), rng_(rng), dialogs_(dialogs)
{
}

void GrowthRateEditorModel::Load()
{
    n_ = params_.GParamRec.Maxspec;
    low_.assign(n_ + 1, std::string());
    high_.assign(n_ + 1, std::string());
    against_.assign(n_ + 1, std::vector<std::string>(n_ + 1));
    for (int i = 1; i <= n_; ++i) {
        const GrowthRate& g = params_.GrowthRates[i];
        if (g.Rate >= 0) {
            low_[i] = Format3d(g.Rate);
        } else if (g.Rate == -1) {
            low_[i] = Format3d(g.Low);
            high_[i] = Format3d(g.High);
        } else {
            QRL_FAIL("WriteGRatesForm: Invalid GRate: " + std::to_string(g.Rate), "GRates23");
        }
        for (int j = 1; j <= n_; ++j) {
            if (j == i) {
                against_[i][j] = Diagonal;
                continue;
            }
            if (g.Rate < 0)
                continue;
            const double percent = std::nearbyint(static_cast<double>(params_.RateAgainst[i][j]) * 100.0);
            if (percent != g.Rate)
                against_[i][j] = Format3d(static_cast<int>(percent));
        }
    }
    randomising_ = params_.GRateRandomising;
}

std::string& GrowthRateEditorModel::Cell(const CellRef& cell)
{
    switch (cell.column) {
    case Column::Low:
        return low_[cell.i];
    case Column::High:
        return high_[cell.i];
    case Column::Against:
        break;
    }
    return against_[cell.i][cell.j];
}

std::string GrowthRateEditorModel::Label() const
{
    return GRateModeLabel(randomising_);
}

bool GrowthRateEditorModel::CanSelectAgainst(int i, int j) const
{
    return i != j && i >= 1 && i <= n_ && j >= 1 && j <= n_ && Blank(high_[i]);
}

bool GrowthRateEditorModel::Confirm(const char* text)
{
    return dialogs_.Message(MessageKind::Confirmation, text, MessageButtons::YesCancel) == MessageAnswer::Yes;
}

void GrowthRateEditorModel::Error(const std::string& text)
{
    dialogs_.Message(MessageKind::Error, text, MessageButtons::Ok);
}

bool GrowthRateEditorModel::CheckCell(const CellRef& cell, bool leaving)
{
    if (cell.column == Column::Against && cell.i == cell.j)
        return true;
    const std::string& text = Cell(cell);
    if (!Blank(text) && !Percentage(text)) {
        Error("Invalid growth rate: " + text + "\rEnter an integer between 0 and 100 or leave it empty");
        return false;
    }
    if (cell.column == Column::Low && Blank(text)) {
        Error("The Low growth rate is always required.\rTo specify a variable growth rate leave only the High"
              " field empty.");
        return false;
    }
    if (cell.column == Column::High) {
        if (Blank(text)) {
            if (leaving)
                randomising_ = false;
        } else {
            const auto low = Percentage(low_[cell.i]);
            if (low && *Percentage(text) < *low) {
                Error("The growth rate range must have Low <= High.");
                return false;
            }
        }
    }
    return true;
}

bool GrowthRateEditorModel::Commit(CellRef* failed)
{
    std::vector<CellRef> order;
    for (int i = 1; i <= n_; ++i)
        order.push_back({Column::Low, i, 0});
    for (int i = 1; i <= n_; ++i)
        order.push_back({Column::High, i, 0});
    for (int i = 1; i <= n_; ++i)
        for (int j = 1; j <= n_; ++j)
            if (j != i)
                order.push_back({Column::Against, i, j});
    for (const CellRef& cell : order) {
        if (!CheckCell(cell)) {
            if (failed)
                *failed = cell;
            return false;
        }
    }

    bool randomising = randomising_;
    for (int i = 1; i <= n_; ++i) {
        const int low = *Percentage(low_[i]);
        if (!Blank(high_[i])) {
            params_.GrowthRates[i] = GrowthRate{-1, static_cast<int8_t>(low), static_cast<int8_t>(*Percentage(high_[i]))};
        } else {
            params_.GrowthRates[i] = GrowthRate{static_cast<int8_t>(low), 0, 0};
            randomising = false;
        }
    }
    params_.GRateRandomising = randomising;
    for (int i = 1; i <= n_; ++i) {
        const GrowthRate& g = params_.GrowthRates[i];
        for (int j = 1; j <= n_; ++j) {
            if (j != i && !Blank(against_[i][j]))
                params_.RateAgainst[i][j] = static_cast<float>(*Percentage(against_[i][j]) / 100.0);
            else if (g.Rate >= 0)
                params_.RateAgainst[i][j] = static_cast<float>(g.Rate / 100.0);
        }
    }
    return true;
}

bool GrowthRateEditorModel::Random()
{
    if (!Confirm("Are you sure you want to randomise all Growth Rates?\rYou may wish to save the current set of"
                 " parameters first.\rChanges won't be committed until hitting OK on the form. "))
        return false;
    for (int i = 1; i <= n_; ++i) {
        const int a = static_cast<int>(rng_.RandomInt(101));
        const int b = static_cast<int>(rng_.RandomInt(101));
        low_[i] = Format3d(std::min(a, b));
        high_[i] = a == b ? std::string() : Format3d(std::max(a, b));
        for (int j = 1; j <= n_; ++j)
            if (j != i)
                against_[i][j].clear();
    }
    randomising_ = true;
    return true;
}

bool GrowthRateEditorModel::Reset()
{
    if (!Confirm("Are you sure you want to reset all Growth Rates?\rYou may wish to save the current set of"
                 " parameters first.\rChanges won't be committed until hitting OK on the form. "))
        return false;
    for (int i = 1; i <= n_; ++i) {
        low_[i] = Format3d(100);
        high_[i].clear();
        for (int j = 1; j <= n_; ++j)
            if (j != i)
                against_[i][j].clear();
    }
    randomising_ = false;
    return true;
}

} // namespace quorrel
