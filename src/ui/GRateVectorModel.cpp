#include "ui/GRateVectorModel.h"

#include "engine/RandomNetworks.h"
#include "params/FieldParsers.h"
#include "ui/EditorTexts.h"

namespace quorrel {

GRateVectorModel::GRateVectorModel(ParameterSet& params, Rng& rng, Dialogs& dialogs)
    : params_(params), rng_(rng), dialogs_(dialogs)
{
}

std::string GRateVectorModel::RowText(int s) const
{
    const GrowthRate& g = params_.GrowthRates[s];
    if (g.Rate >= 0)
        return std::to_string(g.Rate);
    return std::to_string(g.Low) + " - " + std::to_string(g.High);
}

std::string GRateVectorModel::Label() const
{
    return GRateModeLabel(params_.GRateRandomising);
}

GRateVectorModel::Boxes GRateVectorModel::BoxesOf(int s) const
{
    const GrowthRate& g = params_.GrowthRates[s];
    if (g.Rate >= 0)
        return {std::to_string(g.Rate), {}, {}};
    return {{}, std::to_string(g.Low), std::to_string(g.High)};
}

void GRateVectorModel::SelectRow()
{
    params_.GRateRandomising = false;
}

bool GRateVectorModel::Confirm(const char* text)
{
    return dialogs_.Message(MessageKind::Warning, text, MessageButtons::YesNoCancel) == MessageAnswer::Yes;
}

void GRateVectorModel::Error(const char* text)
{
    dialogs_.Message(MessageKind::Error, text, MessageButtons::Ok);
}

bool GRateVectorModel::Enter(int s, const Boxes& boxes)
{
    const IntField fixed = ParseIntField(Trimmed(boxes.fixed));
    const IntField from = ParseIntField(Trimmed(boxes.from));
    const IntField to = ParseIntField(Trimmed(boxes.to));
    const auto empty = [](const IntField& f) { return f.Status == FieldStatus::Empty; };
    if (fixed.Status == FieldStatus::Invalid || from.Status == FieldStatus::Invalid
        || to.Status == FieldStatus::Invalid) {
        Error("You have to give a positive number as input.");
        return false;
    }
    if (empty(fixed) && empty(from) && empty(to)) {
        Error("You have to set growth rate as either fixed or variable.");
        return false;
    }
    if (!empty(fixed) && (!empty(from) || !empty(to))) {
        Error("You cannot set growth rate as both fixed and variable.");
        return false;
    }
    if (fixed.Value > 100 || from.Value > 100 || to.Value > 100) {
        Error("The growth rate should be in the range of 0 to 100.");
        return false;
    }
    // An empty box counts as lower than any number.
    const bool toBelowFrom = !empty(from) && (empty(to) || to.Value < from.Value);
    if (toBelowFrom) {
        Error("The growth rate range should be from low to high.");
        return false;
    }
    if (empty(fixed) && (empty(from) || empty(to))) {
        Error("The range of the variable growth rate has not given.");
        return false;
    }
    if (!empty(fixed))
        params_.GrowthRates[s] = GrowthRate{static_cast<int8_t>(fixed.Value), 0, 0};
    else
        params_.GrowthRates[s] = GrowthRate{-1, static_cast<int8_t>(from.Value), static_cast<int8_t>(to.Value)};
    return true;
}

bool GRateVectorModel::Random()
{
    if (!Confirm("Please save current set of parameters before generate random growth rates. Are you sure you want"
                 " to set up a random Growth Rate Vector?"))
        return false;
    RandomiseGrowthRates(params_, rng_);
    params_.GRateRandomising = true;
    return true;
}

bool GRateVectorModel::Reset()
{
    if (!Confirm(" Are you sure you want reset Growth Rate Vector?\r you may wish to save the current set of"
                 " parameters\r before resetting the growth rate vector. "))
        return false;
    params_.GRateRandomising = false;
    params_.ResetOutcome(2);
    return true;
}

} // namespace quorrel
