#include "cimom/query/wql_evaluator.h"

#include <algorithm>

namespace cimquery {
namespace {

// Ordered so that AND takes the least of its operands, OR the greatest, and NOT mirrors.
enum class Truth { False, Unknown, True };

Truth truth(bool value) {
    return value ? Truth::True : Truth::False;
}

QueryValue operandValue(const Operand& operand, const ValueSource& instance) {
    return operand.isProperty ? instance.value(operand.property) : operand.literal;
}

// <0, 0 or >0 as a is before, equal to or after b; both of one non-null kind.
int order(const QueryValue& a, const QueryValue& b) {
    switch (a.kind) {
        case QueryValue::Kind::Boolean:
            return static_cast<int>(a.boolean) - static_cast<int>(b.boolean);
        case QueryValue::Kind::Number:
            return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
        default:
            return a.text.compare(b.text);
    }
}

Truth compare(const Condition& c, const ValueSource& instance) {
    const QueryValue left = operandValue(c.left, instance);
    const QueryValue right = operandValue(c.right, instance);
    if (left.kind == QueryValue::Kind::Null || left.kind != right.kind) {
        return Truth::Unknown;
    }
    const int o = order(left, right);
    switch (c.comparison) {
        case Comparison::Equal:
            return truth(o == 0);
        case Comparison::NotEqual:
            return truth(o != 0);
        case Comparison::Less:
            return truth(o < 0);
        case Comparison::Greater:
            return truth(o > 0);
        case Comparison::LessOrEqual:
            return truth(o <= 0);
        default:
            return truth(o >= 0);
    }
}

Truth evaluate(const Condition& c, const ValueSource& instance) {
    switch (c.kind) {
        case Condition::Kind::And: {
            const Truth a = evaluate(c.children[0], instance);
            return a == Truth::False ? a : std::min(a, evaluate(c.children[1], instance));
        }
        case Condition::Kind::Or: {
            const Truth a = evaluate(c.children[0], instance);
            return a == Truth::True ? a : std::max(a, evaluate(c.children[1], instance));
        }
        case Condition::Kind::Not:
            return static_cast<Truth>(2 - static_cast<int>(evaluate(c.children[0], instance)));
        case Condition::Kind::IsNull:
        case Condition::Kind::IsNotNull: {
            const bool isNull = operandValue(c.left, instance).kind == QueryValue::Kind::Null;
            return truth(isNull == (c.kind == Condition::Kind::IsNull));
        }
        case Condition::Kind::IsA:
            return truth(instance.isA(c.left.property, c.className));
        default:
            return compare(c, instance);
    }
}

}  // namespace

bool matches(const Query& query, const ValueSource& instance) {
    return !query.where || evaluate(*query.where, instance) == Truth::True;
}

}  // namespace cimquery
