#include "ui/OptionsEditor.h"

#include "params/AssertionFailure.h"
#include "params/FieldParsers.h"

#include <cstdint>
#include <limits>

namespace quorrel {

namespace {

constexpr int32_t NoLimit = std::numeric_limits<int32_t>::max();
constexpr int32_t SpeciesLimit = -1; // the upper bound is Maxspec

struct NumberRule {
    int32_t (*get)(const OptionStruct&);
    void (*set)(OptionStruct&, int32_t);
    int32_t low;
    int32_t high;
    bool blankIsEnd; // a blank box means the end of the run
    const char* message;
    int32_t fallback;
};

#define QRL_FIELD(name) [](const OptionStruct& o) { return static_cast<int32_t>(o.name); }, \
                        [](OptionStruct& o, int32_t v) { o.name = static_cast<decltype(o.name)>(v); }

constexpr char CycleMessage[] = "You did not specify the frequency-time plot cycle properly.It will stay unchanged.";
constexpr char SpeciesMessage[] =
    "You did not specify the species for frequency-time plot properly.It will stay unchanged.";
constexpr char EveryMessage[] =
    "The specified value for the generation interval (\"every generations\") is not valid.It will stay unchanged.";
constexpr char FromMessage[] = "The specified value for the starting generation is not valid.It will stay unchanged.";
constexpr char UntilMessage[] = "The specified value for the final generation is not valid.It will stay unchanged.";

const NumberRule& RuleOf(OptionNumber field)
{
    static const NumberRule DisplayCycle{
        QRL_FIELD(DisplayCycle), 1, NoLimit, false,
        "You did not specify the landscape display cycle properly.It will stay unchanged.", 1};
    static const NumberRule STPlotCycle{
        QRL_FIELD(STPlotCycle), 1, NoLimit, false,
        "You did not specify the space-time plot display cycle properly.It will stay unchanged.", 1};
    static const NumberRule FTPlotCycle{QRL_FIELD(FTPlotCycle), 1, NoLimit, false, CycleMessage, 1};
    static const NumberRule FTPOTCCycle{QRL_FIELD(FTPOTCCycle), 1, NoLimit, false, CycleMessage, 1};
    static const NumberRule FTPSpecies{QRL_FIELD(FTPSpecies), 1, SpeciesLimit, false, SpeciesMessage, 1};
    static const NumberRule FTPOTCSpecies{QRL_FIELD(FTPOTCSpecies), 1, SpeciesLimit, false, SpeciesMessage, 1};
    static const NumberRule WriteIntEvery{QRL_FIELD(WriteIntEvery), 1, 65535, false, EveryMessage, 1};
    static const NumberRule WriteIntFrom{QRL_FIELD(WriteIntFrom), 1, 65535, false, FromMessage, 1};
    static const NumberRule WriteIntUntil{QRL_FIELD(WriteIntUntil), 1, 65535, true, UntilMessage, UntilEndOfRun};
    static const NumberRule GenSWEvery{QRL_FIELD(GenSWEvery), 1, 65535, false, EveryMessage, 1};
    static const NumberRule GenSWFrom{QRL_FIELD(GenSWFrom), 1, 65535, false, FromMessage, 1};
    static const NumberRule GenSWUntil{QRL_FIELD(GenSWUntil), 1, 65535, true, UntilMessage, UntilEndOfRun};
    static const NumberRule DeltaSideSW{
        QRL_FIELD(DeltaSideSW), 1, MaxLandscapeSide, false,
        "The length increment must be between 1 and 700 (the largest landscape size).\rIt will stay unchanged.", 5};
    static const NumberRule GCSpecies{QRL_FIELD(GCSpecies), 1, SpeciesLimit, false, "", 1};
    static const NumberRule GCSpeciesA{QRL_FIELD(GCSpeciesA), 0, SpeciesLimit, false, "", 0};

    switch (field) {
    case OptionNumber::DisplayCycle: return DisplayCycle;
    case OptionNumber::STPlotCycle: return STPlotCycle;
    case OptionNumber::FTPlotCycle: return FTPlotCycle;
    case OptionNumber::FTPOTCCycle: return FTPOTCCycle;
    case OptionNumber::FTPSpecies: return FTPSpecies;
    case OptionNumber::FTPOTCSpecies: return FTPOTCSpecies;
    case OptionNumber::WriteIntEvery: return WriteIntEvery;
    case OptionNumber::WriteIntFrom: return WriteIntFrom;
    case OptionNumber::WriteIntUntil: return WriteIntUntil;
    case OptionNumber::GenSWEvery: return GenSWEvery;
    case OptionNumber::GenSWFrom: return GenSWFrom;
    case OptionNumber::GenSWUntil: return GenSWUntil;
    case OptionNumber::DeltaSideSW: return DeltaSideSW;
    case OptionNumber::GCSpecies: return GCSpecies;
    case OptionNumber::GCSpeciesA: return GCSpeciesA;
    }
    return DisplayCycle;
}

#undef QRL_FIELD

} // namespace

OptionsEditor::OptionsEditor(const OptionStruct& live, const ParameterSet& params, Dialogs& dialogs)
    : Working(live), live_(live), params_(params), dialogs_(dialogs)
{
}

std::string OptionsEditor::Text(OptionNumber field) const
{
    const NumberRule& rule = RuleOf(field);
    const int32_t value = rule.get(Working);
    if (rule.blankIsEnd && value == UntilEndOfRun)
        return "";
    return std::to_string(value);
}

void OptionsEditor::Edit(OptionNumber field, const std::string& text)
{
    if (field == OptionNumber::GCSpecies)
        return EditGCSpecies(text);
    if (field == OptionNumber::GCSpeciesA)
        return EditGCSpeciesA(text);

    const NumberRule& rule = RuleOf(field);
    const int32_t high = rule.high == SpeciesLimit ? params_.GParamRec.Maxspec : rule.high;
    auto accepted = [&](int32_t v) { return (v >= rule.low && v <= high) || (rule.blankIsEnd && v == UntilEndOfRun); };

    if (rule.blankIsEnd && text.empty())
        return rule.set(Working, UntilEndOfRun);
    const IntField typed = ParseIntField(text);
    if (typed.Status == FieldStatus::Value && typed.Value >= rule.low && typed.Value <= high)
        return rule.set(Working, typed.Value);

    dialogs_.Message(MessageKind::Information, rule.message, MessageButtons::Ok);
    const int32_t live = rule.get(live_);
    rule.set(Working, accepted(live) ? live : rule.fallback);
}

bool OptionsEditor::IsVariablePair(int species, int against) const
{
    return params_.OutcomeMatrix[species][against].Win < 0;
}

std::string OptionsEditor::NotVariable(int species, int against, const char* consequence) const
{
    return "The outcome relation between species " + std::to_string(species) + " and species " +
           std::to_string(against) + " is not variable. " + consequence;
}

void OptionsEditor::EditGCSpecies(const std::string& text)
{
    const int maxspec = params_.GParamRec.Maxspec;
    const int against = Working.GCSpeciesA;
    auto accepted = [&](int32_t s) { return s >= 1 && s <= maxspec && s != against; };

    const IntField typed = ParseIntField(text);
    if (typed.Status == FieldStatus::Value && accepted(typed.Value)) {
        Working.GCSpecies = static_cast<int8_t>(typed.Value);
        if (against != 0 && !IsVariablePair(typed.Value, against)) {
            dialogs_.Message(MessageKind::Information,
                             NotVariable(typed.Value, against, "The against species will be set to 0."),
                             MessageButtons::Ok);
            Working.GCSpeciesA = 0;
        }
        return;
    }

    dialogs_.Message(MessageKind::Information,
                     "You did not specify the species for growth rate-competitive graph properly. "
                     "It will stay unchanged.",
                     MessageButtons::Ok);
    if (accepted(live_.GCSpecies)) {
        Working.GCSpecies = live_.GCSpecies;
    } else if (against != 1) {
        Working.GCSpecies = 1;
    } else {
        if (maxspec < 2)
            QRL_FAIL("Too few species in GCSpeciesChange", "Options");
        Working.GCSpecies = 2;
    }
}

void OptionsEditor::EditGCSpeciesA(const std::string& text)
{
    const int maxspec = params_.GParamRec.Maxspec;
    const IntField typed = ParseIntField(text);
    if (typed.Status != FieldStatus::Value || typed.Value > maxspec || typed.Value == Working.GCSpecies) {
        dialogs_.Message(MessageKind::Information,
                         "You did not specify the species for growth rate-competitive graph properly. "
                         "It will be reset.",
                         MessageButtons::Ok);
        Working.GCSpeciesA = 0;
        return;
    }
    if (typed.Value != 0 && !IsVariablePair(Working.GCSpecies, typed.Value)) {
        dialogs_.Message(MessageKind::Information,
                         NotVariable(Working.GCSpecies, typed.Value, "The against species will be reset."),
                         MessageButtons::Ok);
        Working.GCSpeciesA = 0;
        return;
    }
    Working.GCSpeciesA = static_cast<int8_t>(typed.Value);
}

bool OptionsEditor::ConfirmOk()
{
    const OptionStruct& o = Working;
    auto warn = [this](const std::string& text) {
        return dialogs_.Message(MessageKind::Warning, text, MessageButtons::OkCancel) == MessageAnswer::Ok;
    };
    if (o.WriteIntScape && (o.WriteIntUntil < o.WriteIntEvery || o.WriteIntUntil < o.WriteIntFrom) &&
        !warn("The given multiple landscape file parameters will not produce any output."))
        return false;
    if (o.WriteSW && !(o.GenSWUntil >= o.GenSWEvery && o.GenSWUntil >= o.GenSWFrom && o.SWSpeciesMask.any()) &&
        !warn(std::string("The given ") + "Sliding Windows" + " parameters will not " + "produce any output."))
        return false;
    return true;
}

} // namespace quorrel
