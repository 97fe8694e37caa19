#include "params/RepeatTimes.h"

#include "params/FieldParsers.h"

namespace quorrel {

RepeatTimesCheck CheckRepeatTimes(std::string_view text)
{
    const IntField field = ParseIntField(text);
    switch (field.Status) {
    case FieldStatus::Empty:
        return {0, "You have to specify the number of repetitions."};
    case FieldStatus::Invalid:
        return {0, "You have to give a positive number of repetitions."};
    case FieldStatus::Value:
        break;
    }
    if (field.Value < 2 || field.Value > 1000)
        return {0, "The number of repetitions must be between 2 and 1000"};
    return {field.Value, {}};
}

} // namespace quorrel
