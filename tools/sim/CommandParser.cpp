#include "tools/sim/CommandParser.h"

#include "tools/sim/ProtocolBytes.h"

namespace krn310::sim {
namespace {

enum class Match { Complete, NeedMore, NoMatch };

struct MatchResult {
    Match match;
    Command command{};
    size_t length = 0;
};

bool IsBlockSelector(uint8_t s)
{
    return s == wire::SelectorSet1 || s == wire::SelectorSet2Printer || s == wire::SelectorSet2Network;
}

MatchResult Complete(CommandKind kind, uint8_t selector, const uint8_t* p, size_t length)
{
    return {Match::Complete, Command{kind, selector, std::vector<uint8_t>(p, p + length)}, length};
}

MatchResult MatchUserSetup(const uint8_t* p, size_t n)
{
    static constexpr uint8_t head[] = {wire::Gs, wire::GsParen, wire::GsParenUserSetup,
                                       wire::UserSetupLengthLow, wire::UserSetupLengthHigh};
    for (size_t i = 0; i < sizeof head; ++i) {
        if (n <= i)
            return {Match::NeedMore};
        if (p[i] != head[i])
            return {Match::NoMatch};
    }
    if (n < wire::UserSetupHeadLength)
        return {Match::NeedMore};
    const uint8_t function = p[5];
    const uint8_t selector = p[6];
    if (function == wire::FunctionRead && IsBlockSelector(selector))
        return Complete(CommandKind::ReadBlock, selector, p, wire::UserSetupHeadLength);
    if (function != wire::FunctionWrite)
        return {Match::NoMatch};
    if (selector == wire::SelectorFactorySet1 || selector == wire::SelectorFactorySet2)
        return Complete(CommandKind::RestoreFactory, selector, p, wire::UserSetupHeadLength);
    if (!IsBlockSelector(selector))
        return {Match::NoMatch};
    const size_t whole = wire::UserSetupHeadLength + wire::BlockLength;
    if (n < whole)
        return {Match::NeedMore};
    return Complete(CommandKind::WriteBlock, selector, p, whole);
}

MatchResult MatchAt(const uint8_t* p, size_t n)
{
    if (p[0] == wire::Gs) {
        if (n < 2)
            return {Match::NeedMore};
        if (p[1] == wire::GsParen)
            return MatchUserSetup(p, n);
        if (p[1] != wire::GsIdentify)
            return {Match::NoMatch};
        if (n < 3)
            return {Match::NeedMore};
        if (p[2] >= 'A' && p[2] <= 'D')
            return Complete(CommandKind::Identification, p[2], p, 3);
        return {Match::NoMatch};
    }
    if (p[0] == wire::Dle) {
        if (n < 2)
            return {Match::NeedMore};
        if (p[1] != wire::Eot)
            return {Match::NoMatch};
        if (n < 3)
            return {Match::NeedMore};
        if (p[2] == 1 || p[2] == 2 || p[2] == 4)
            return Complete(CommandKind::Status, p[2], p, 3);
        return {Match::NoMatch};
    }
    if (p[0] == wire::Esc) {
        if (n < 2)
            return {Match::NeedMore};
        if (p[1] == wire::EscInitialize)
            return Complete(CommandKind::Initialize, 0, p, 2);
        if (p[1] == wire::EscRestart)
            return Complete(CommandKind::Restart, 0, p, 2);
        return {Match::NoMatch};
    }
    return {Match::NoMatch};
}

}  // namespace

std::vector<Command> CommandParser::Feed(const uint8_t* data, size_t length)
{
    pending_.insert(pending_.end(), data, data + length);
    std::vector<Command> commands;
    size_t position = 0;
    while (position < pending_.size()) {
        MatchResult result = MatchAt(pending_.data() + position, pending_.size() - position);
        if (result.match == Match::NeedMore)
            break;
        if (result.match == Match::NoMatch) {
            ++position;
            continue;
        }
        position += result.length;
        commands.push_back(std::move(result.command));
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(position));
    return commands;
}

void CommandParser::Reset()
{
    pending_.clear();
}

}  // namespace krn310::sim
