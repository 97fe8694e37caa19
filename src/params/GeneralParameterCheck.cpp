#include "params/GeneralParameterCheck.h"

#include "params/FieldParsers.h"
#include "params/ParameterRules.h"

#include <array>
#include <cstdio>
#include <string>

namespace quorrel {

namespace {

// One item list of the dialog; an item's code is its position.
using Items = std::array<const char*, 3>;
constexpr Items InitItems{"Random", "Gradient", "Grid"};
constexpr Items CoverItems{"Random", "Blocks", "File"};
constexpr Items BorderItems{"Torus", "Open", nullptr};
constexpr Items PatchTypeItems{"Square", "Random", nullptr};
constexpr Items RecruitItems{"Open", "Closed", nullptr};

std::string ItemOf(const Items& items, int code)
{
    return code >= 0 && code < static_cast<int>(items.size()) && items[code] != nullptr ? items[code] : "";
}

std::string Trimmed(std::string text)
{
    while (!text.empty() && text.front() == ' ')
        text.erase(text.begin());
    if (text.find('.') != std::string::npos) {
        while (!text.empty() && text.back() == '0')
            text.pop_back();
        if (!text.empty() && text.back() == '.')
            text.pop_back();
    }
    return text.empty() ? "0" : text;
}

std::string Decimals(float value, int decimals)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, static_cast<double>(value));
    return Trimmed(buffer);
}

// Thrown by a failing check with the message to show.
struct Refusal {
    std::string message;
};

int32_t Int(const std::string& text, const char* empty, const char* invalid)
{
    const IntField f = ParseIntField(text);
    if (f.Status == FieldStatus::Empty)
        throw Refusal{empty};
    if (f.Status == FieldStatus::Invalid)
        throw Refusal{invalid};
    return f.Value;
}

double Real(const std::string& text, const char* empty, const char* invalid)
{
    const FloatField f = ParseFloatField(text);
    if (f.Status == FieldStatus::Empty)
        throw Refusal{empty};
    if (f.Status == FieldStatus::Invalid)
        throw Refusal{invalid};
    return f.Value;
}

int32_t Item(const std::string& text, const Items& items, const char* empty, const char* notListed)
{
    if (text.empty())
        throw Refusal{empty};
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i] != nullptr && text == items[i])
            return static_cast<int32_t>(i);
    throw Refusal{notListed};
}

void Require(bool ok, const std::string& message)
{
    if (!ok)
        throw Refusal{message};
}

GParamStruct Check(const GeneralParameterTexts& t)
{
    GParamStruct p;
    p.Maxspec = Int(t.Maxspec, "You have to specify the Number of species.",
                    "You have to give a positive number for the Number of species.");
    // The message names the accepted range, 2 like the parameter files and the dialog's hint.
    Require(rules::SpeciesCount(p.Maxspec),
            "The number of species must be between " + std::to_string(MinSpecies) + " and " +
                std::to_string(MaxSpecies) + ".");

    const std::string sizeMessage = "The landscape size must be between 10x10 and " +
                                    std::to_string(MaxLandscapeSide) + "x" + std::to_string(MaxLandscapeSide) + ".";
    p.MaxX = Int(t.MaxX, "You have to specify the Landscape size.",
                 "You have to give a positive number for Landscape size.");
    Require(rules::LandscapeSide(p.MaxX), sizeMessage);
    p.MaxY = Int(t.MaxY, "You have to specify the Landscape size.",
                 "You have to give a positive number for Landscape size.");
    Require(rules::LandscapeSide(p.MaxY), sizeMessage);

    p.PIX = Int(t.PIX, "You have to specify the Number of pixels per cell.",
                "You have to give a positive number for the Number of pixels per cell.");
    Require(rules::CellSize(p.PIX, p.MaxX, p.MaxY), "Cell size is too large.");

    const std::string generationsMessage = "The number of generations must be between 1 and 65535";
    p.Maxgen = Int(t.Maxgen, "You have to give the Number of generations.", generationsMessage.c_str());
    Require(rules::Generations(p.Maxgen), generationsMessage);

    p.RandSeed = Int(t.RandSeed, "You have to give a Random number seed.",
                     "You have to give a positive Random number seed.");

    p.Init = Item(t.Init, InitItems, "You have to give type of initial growth rate.",
                  "The type of initial growth rate must be selected from the list");
    p.Cover = Item(t.Cover, CoverItems, "You have to give the type of initial cover.",
                   "The type of initial cover must be selected from the list");
    p.CoverFile = t.CoverFile;
    Require(rules::CoverFileGiven(p.Cover, t.CoverFile),
            "The file containing the initial cover must be given if the cover type is File.");
    p.Border = Item(t.Border, BorderItems, "You have to give Border type.",
                    "The border type must be selected from the list");

    const double cover = Real(t.TotalCover, "You have to specify Total cover.",
                              "You have to give a positive number for Total cover.");
    Require(rules::Percentage(cover), "The total cover must be between 0 and 100%.");
    p.TotalCover = static_cast<float>(cover);

    p.OverGRate = Int(t.OverGRate, "You have to specify Over-growth rate (GRInt).",
                      "You have to give a positive number for Over-growth rate.");
    Require(rules::Percentage(p.OverGRate), "The Over-growth rate must be between 0 and 100%.");

    const double disturb = Real(t.DisturbProb, "You have to specify the Probability of Disturbance.",
                                "You have to give a positive float number for Probability of Disturbance.");
    Require(rules::Probability(disturb), "The Probability of Disturbance should not be greater than 1.");
    p.DisturbProb = static_cast<float>(disturb);

    p.PatchSize = Int(t.PatchSize, "You have to give Patch.", "You have to give a positive number for Patch.");
    Require(rules::PatchSize(p.PatchSize, p.MaxX, p.MaxY), "Patch size is bigger than the size of the landscape.");
    p.PatchType = Item(t.PatchType, PatchTypeItems, "You have to give Patch type.",
                       "The patch type must be selected from the list");

    const double influx = Real(t.Influx, "You have to specify the probability of influx.",
                               "You have to give a positive float number for the probability of influx.");
    Require(rules::Probability(influx), "The probability of influx should not be greater than 1.");
    p.Influx = static_cast<float>(influx);
    p.RecruitType = Item(t.RecruitType, RecruitItems, "You have to give Recruitment type.",
                         "The recruitment type must be selected from the list");

    const double mutationGR =
        Real(t.MutationGR, "You have to specify the probability of mutation on growth rates.",
             "You have to give a positive float number for the probability of mutation on growth rates.");
    Require(rules::Probability(mutationGR), "The probability of mutation on growth rates should not be greater than 1.");
    p.MutationGR = static_cast<float>(mutationGR);
    if (mutationGR > 0.0) {
        p.MutAmtGR = Int(t.MutAmtGR, "You have to give the amount of mutation on growth rates.",
                         "You have to give a positive number for the amount of mutation on growth rates.");
        Require(rules::MutationAmount(p.MutAmtGR),
                "The amount of mutation on growth rates should be in the range of 1 to 10.");
    }

    const double mutationOTC =
        Real(t.MutationOTC, "You have to specify the probability of mutation on variable outcome.",
             "You have to give a positive float number for the probability of mutation on variable outcome.");
    Require(rules::Probability(mutationOTC), "The probability of mutation on variable outcome should not be greater than 1.");
    p.MutationOTC = static_cast<float>(mutationOTC);
    if (mutationOTC > 0.0) {
        p.MutAmtOTC = Int(t.MutAmtOTC, "You have to give the amount of mutation on variable outcome.",
                          "You have to give a positive number for the amount of mutation on variable outcome.");
        Require(rules::MutationAmount(p.MutAmtOTC),
                "The amount of mutation on variable outcomes should be in the range of 1 to 10.");
    }

    p.MeanField = t.MeanField;
    return p;
}

} // namespace

std::string* GeneralParameterTexts::Field(std::string_view key)
{
    struct Entry {
        const char* key;
        std::string GeneralParameterTexts::*field;
    };
    static constexpr Entry Fields[] = {
        {"Maxspec", &GeneralParameterTexts::Maxspec},         {"MaxX", &GeneralParameterTexts::MaxX},
        {"MaxY", &GeneralParameterTexts::MaxY},               {"PIX", &GeneralParameterTexts::PIX},
        {"Maxgen", &GeneralParameterTexts::Maxgen},           {"RandSeed", &GeneralParameterTexts::RandSeed},
        {"Init", &GeneralParameterTexts::Init},               {"Cover", &GeneralParameterTexts::Cover},
        {"CoverFile", &GeneralParameterTexts::CoverFile},     {"Border", &GeneralParameterTexts::Border},
        {"TotalCover", &GeneralParameterTexts::TotalCover},   {"OverGRate", &GeneralParameterTexts::OverGRate},
        {"DisturbProb", &GeneralParameterTexts::DisturbProb}, {"PatchSize", &GeneralParameterTexts::PatchSize},
        {"PatchType", &GeneralParameterTexts::PatchType},     {"Influx", &GeneralParameterTexts::Influx},
        {"RecruitType", &GeneralParameterTexts::RecruitType}, {"MutationGR", &GeneralParameterTexts::MutationGR},
        {"MutAmtGR", &GeneralParameterTexts::MutAmtGR},       {"MutationOTC", &GeneralParameterTexts::MutationOTC},
        {"MutAmtOTC", &GeneralParameterTexts::MutAmtOTC},
    };
    for (const Entry& e : Fields)
        if (key == e.key)
            return &(this->*e.field);
    return nullptr;
}

GeneralParameterTexts GeneralParameterTextsFrom(const GParamStruct& p)
{
    GeneralParameterTexts t;
    t.Maxspec = std::to_string(p.Maxspec);
    t.MaxX = std::to_string(p.MaxX);
    t.MaxY = std::to_string(p.MaxY);
    t.PIX = std::to_string(p.PIX);
    t.Maxgen = std::to_string(p.Maxgen);
    t.RandSeed = std::to_string(p.RandSeed);
    t.Init = ItemOf(InitItems, p.Init);
    t.Cover = ItemOf(CoverItems, p.Cover);
    t.CoverFile = p.CoverFile;
    t.Border = ItemOf(BorderItems, p.Border);
    t.TotalCover = Decimals(p.TotalCover, 2);
    t.OverGRate = std::to_string(p.OverGRate);
    t.DisturbProb = Decimals(p.DisturbProb, 8);
    t.PatchSize = std::to_string(p.PatchSize);
    t.PatchType = ItemOf(PatchTypeItems, p.PatchType);
    t.Influx = Decimals(p.Influx, 8);
    t.RecruitType = ItemOf(RecruitItems, p.RecruitType);
    t.MutationGR = Decimals(p.MutationGR, 8);
    t.MutAmtGR = std::to_string(p.MutAmtGR);
    t.MutationOTC = Decimals(p.MutationOTC, 8);
    t.MutAmtOTC = std::to_string(p.MutAmtOTC);
    t.MeanField = p.MeanField;
    return t;
}

GeneralParameterCheckResult CheckGeneralParameters(const GeneralParameterTexts& texts)
{
    try {
        return {Check(texts), {}};
    } catch (const Refusal& r) {
        return {std::nullopt, r.message};
    }
}

} // namespace quorrel
