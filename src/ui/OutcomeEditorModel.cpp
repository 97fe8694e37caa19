#include "ui/OutcomeEditorModel.h"

#include "engine/RandomNetworks.h"
#include "params/FieldParsers.h"
#include "params/ParameterRules.h"
#include "ui/EditorTexts.h"

#include <algorithm>

namespace quorrel {

namespace {

constexpr const char* ResetQuestion =
    " Are you sure you want to reset the Outcome Matrix?\r It is recommended that you save the current set of\r"
    " parameters before resetting the Outcome Matrix.";

IntField ReadBox(const std::string& text)
{
    return ParseIntField(Trimmed(text));
}

} // namespace

OutcomeEditorModel::OutcomeEditorModel(ParameterSet& params, Rng& rng, Dialogs& dialogs)
    : params_(params), rng_(rng), dialogs_(dialogs)
{
    Load();
}

void OutcomeEditorModel::Load()
{
    matrix_ = params_.OutcomeMatrix;
    ranges_ = params_.VariableOutcomeVector;
    mode_ = params_.OutcomeRandomMode;
}

void OutcomeEditorModel::Commit()
{
    const int n = Species();
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j)
            params_.OutcomeMatrix[i][j] = matrix_[i][j];
        params_.VariableOutcomeVector[i] = ranges_[i];
    }
    params_.OutcomeRandomMode = static_cast<uint8_t>(mode_);
}

std::string OutcomeEditorModel::ModeLabel() const
{
    return OutcomeModeLabel(mode_, params_.StandoffPercent);
}

bool OutcomeEditorModel::Confirm(const char* text)
{
    return dialogs_.Message(MessageKind::Warning, text, MessageButtons::YesNoCancel) == MessageAnswer::Yes;
}

void OutcomeEditorModel::Error(const std::string& text)
{
    dialogs_.Message(MessageKind::Error, text, MessageButtons::Retry);
}

bool OutcomeEditorModel::EnterOutcome(int i, int j, const std::string& first, const std::string& second,
                                      const std::string& third)
{
    const std::string_view firstText = Trimmed(first);
    if (firstText.empty()) {
        Error("You have to specify a value for the first box.");
        return false;
    }
    const bool negative = firstText.front() == '-';
    const IntField magnitude = ParseIntField(negative ? firstText.substr(1) : firstText);
    if (magnitude.Status != FieldStatus::Value) {
        Error("You have to give an integer number.");
        return false;
    }
    if (negative && magnitude.Value > 0) {
        // A variable pair; the box holds at most three characters, the clamp guards the table.
        matrix_[i][j] = OutcomeTriple{static_cast<int8_t>(-std::min(magnitude.Value, 128)), 0, 0};
        ParameterSet::MirrorOutcomes(matrix_, Species());
        return true;
    }
    const IntField loss = ReadBox(second);
    if (loss.Status != FieldStatus::Value) {
        Error("The second field must be a positive number.");
        return false;
    }
    const IntField standoff = ReadBox(third);
    if (standoff.Status != FieldStatus::Value) {
        Error("The third field must be a positive number.");
        return false;
    }
    const long long sum = static_cast<long long>(magnitude.Value) + loss.Value + standoff.Value;
    if (!rules::FixedOutcome(magnitude.Value, loss.Value, standoff.Value)) {
        Error("The sum of all outcomes must be 100%.\rYour values total " + std::to_string(sum) + ".");
        return false;
    }
    matrix_[i][j] = OutcomeTriple{static_cast<int8_t>(magnitude.Value), static_cast<int8_t>(loss.Value),
                                  static_cast<int8_t>(standoff.Value)};
    ParameterSet::MirrorOutcomes(matrix_, Species());
    return true;
}

bool OutcomeEditorModel::ReadRange(const std::string& from, const std::string& to, bool& empty, int& a, int& b)
{
    const IntField low = ReadBox(from);
    const IntField high = ReadBox(to);
    if (low.Status == FieldStatus::Invalid || high.Status == FieldStatus::Invalid) {
        Error("You have to give a positive number as input.");
        return false;
    }
    if ((low.Status == FieldStatus::Empty) != (high.Status == FieldStatus::Empty)) {
        Error("You have to give a range for variable outcome.");
        return false;
    }
    empty = low.Status == FieldStatus::Empty;
    if (empty)
        return true;
    if (!rules::WholePercent(low.Value) || !rules::WholePercent(high.Value)) {
        Error("The variable outcome should be in the range of 0 to 100.");
        return false;
    }
    if (!rules::OutcomeRange(low.Value, high.Value)) {
        Error("The outcome range should be from low to high.");
        return false;
    }
    a = low.Value;
    b = high.Value;
    return true;
}

bool OutcomeEditorModel::EnterWinRange(int s, const std::string& from, const std::string& to)
{
    bool empty = false;
    int a = 0;
    int b = 0;
    if (!ReadRange(from, to, empty, a, b))
        return false;
    if (!empty)
        ranges_[s] = VariableOutcomeRange{static_cast<int8_t>(a), static_cast<int8_t>(b), 0,
                                          static_cast<int8_t>(100 - a)};
    return true;
}

bool OutcomeEditorModel::EnterLossRange(int s, const std::string& from, const std::string& to)
{
    bool empty = false;
    int a = 0;
    int b = 0;
    if (!ReadRange(from, to, empty, a, b))
        return false;
    if (empty)
        return true;
    if (a > 100 - ranges_[s].WinHigh) {
        Error("The minimum loss should be lower than (100 - maximum win)");
        return false;
    }
    ranges_[s].LossLow = static_cast<int8_t>(a);
    ranges_[s].LossHigh = static_cast<int8_t>(b);
    return true;
}

bool OutcomeEditorModel::EnterStandoff(const std::string& text)
{
    const IntField value = ReadBox(text);
    if (value.Status == FieldStatus::Empty) {
        Error("You have to specify the % stand-offs in the random networks.");
        return false;
    }
    if (value.Status == FieldStatus::Invalid || value.Value > 100) {
        Error("The % stand-offs should be between 0 and 100.");
        return false;
    }
    params_.StandoffPercent = value.Value;
    return true;
}

bool OutcomeEditorModel::Generate(Generator kind, const std::function<void()>& askStandoff)
{
    const char* question = nullptr;
    switch (kind) {
    case Generator::Uniform:
        question = " Are you sure you want to set up a random Outcome Matrix?\r It is recommended that you save the"
                   " current set of parameters\r before generating the random outcomes.";
        break;
    case Generator::NoReversal:
        question = " Are you sure you want set up a random Outcome Matrix without reversals?\r It is recommended"
                   " that you save the current set of parameters before\r generating random outcomes without"
                   " reversals.";
        break;
    case Generator::Hierarchical:
        question = " Are you sure you want set up a random hierarchical Outcome Matrix?\r It is recommended that"
                   " you save the current set of parameters before\r generating the random outcomes.";
        break;
    }
    if (!Confirm(question))
        return false;
    const int n = Species();
    switch (kind) {
    case Generator::Uniform:
        mode_ = UniformRandomising;
        break;
    case Generator::NoReversal:
        mode_ = NoReversalRandomising;
        break;
    case Generator::Hierarchical:
        mode_ = HierarchicalRandomising;
        break;
    }
    if (kind != Generator::NoReversal)
        for (int j = 2; j <= n; ++j)
            for (int i = 1; i < j; ++i)
                matrix_[i][j] = OutcomeTriple{0, 0, 0};
    if (askStandoff)
        askStandoff();
    const int standoff = params_.StandoffPercent;
    switch (kind) {
    case Generator::Uniform:
        UniformNetwork(matrix_, n, standoff, rng_);
        break;
    case Generator::NoReversal:
        NoReversalNetwork(matrix_, n, standoff, rng_);
        break;
    case Generator::Hierarchical:
        HierarchicalNetwork(matrix_, n, standoff, rng_);
        break;
    }
    return true;
}

bool OutcomeEditorModel::ResetAllFixed()
{
    if (!Confirm(ResetQuestion))
        return false;
    params_.ResetOutcome(3, &matrix_);
    mode_ = NotRandomising;
    return true;
}

bool OutcomeEditorModel::ResetAllVariable()
{
    if (!Confirm(ResetQuestion))
        return false;
    params_.ResetOutcome(4, &matrix_);
    return true;
}

bool OutcomeEditorModel::ResetVariableRanges()
{
    if (!Confirm(ResetQuestion))
        return false;
    params_.ResetVariableOutcome(2, &ranges_);
    return true;
}

} // namespace quorrel
