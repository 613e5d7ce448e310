#include "rom/race_order.h"

#include <algorithm>

namespace velmor::rom {

namespace {

RaceOrderEdit unchanged(const CourseAi &ai, const std::optional<ObjectAreas> &areas,
    std::string error)
{
    return {ai, areas, {}, -1, std::move(error)};
}

// A set whose targets are not one per zone cannot be renumbered: which target goes with which
// zone is not known.
std::string pairingProblem(const CourseAi &ai)
{
    if (ai.targets.size() == ai.zones.size())
        return {};
    return std::to_string(ai.targets.size()) + " targets for " + std::to_string(ai.zones.size())
        + " zones: the race order cannot be changed until there is one target per zone";
}

bool validZone(const CourseAi &ai, int index)
{
    return index >= 0 && std::size_t(index) < ai.zones.size();
}

std::string noZone(int index, const CourseAi &ai)
{
    return "there is no zone " + std::to_string(index) + " among " + std::to_string(ai.zones.size());
}

} // namespace

RaceOrderEdit insertZone(const CourseAi &ai, const std::optional<ObjectAreas> &areas, int after,
    const Zone &zone, const Target &target)
{
    if (std::string problem = pairingProblem(ai); !problem.empty())
        return unchanged(ai, areas, std::move(problem));
    if (ai.zones.size() >= std::size_t(map::MaxZones))
        return unchanged(ai, areas, std::to_string(ai.zones.size())
                + " zones already; the game allows " + std::to_string(map::MaxZones));
    if (after < -1 || after >= int(ai.zones.size()))
        return unchanged(ai, areas, noZone(after, ai));
    const int at = after + 1;
    RaceOrderEdit edit {ai, areas, {}, at, {}};
    edit.ai.zones.insert(edit.ai.zones.begin() + at, zone);
    edit.ai.targets.insert(edit.ai.targets.begin() + at, target);
    if (edit.areas)
        edit.shifted = shiftForInsertion(*edit.areas, int(ai.zones.size()), at);
    return edit;
}

RaceOrderEdit removeZone(const CourseAi &ai, const std::optional<ObjectAreas> &areas, int index)
{
    if (std::string problem = pairingProblem(ai); !problem.empty())
        return unchanged(ai, areas, std::move(problem));
    if (!validZone(ai, index))
        return unchanged(ai, areas, noZone(index, ai));
    RaceOrderEdit edit {ai, areas, {}, -1, {}};
    edit.ai.zones.erase(edit.ai.zones.begin() + index);
    edit.ai.targets.erase(edit.ai.targets.begin() + index);
    if (edit.areas)
        edit.shifted = shiftForRemoval(*edit.areas, int(ai.zones.size()), index);
    return edit;
}

RaceOrderEdit moveZone(const CourseAi &ai, const std::optional<ObjectAreas> &areas, int from, int to)
{
    if (!validZone(ai, from))
        return unchanged(ai, areas, noZone(from, ai));
    if (!validZone(ai, to))
        return unchanged(ai, areas, noZone(to, ai));
    std::vector<int> order(ai.zones.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = int(k);
    order.erase(order.begin() + from);
    order.insert(order.begin() + to, from);
    RaceOrderEdit edit = reorderZones(ai, areas, order);
    if (edit.ok())
        edit.zone = to;
    return edit;
}

RaceOrderEdit reorderZones(const CourseAi &ai, const std::optional<ObjectAreas> &areas,
    const std::vector<int> &order)
{
    if (std::string problem = pairingProblem(ai); !problem.empty())
        return unchanged(ai, areas, std::move(problem));
    std::vector<int> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    bool permutation = sorted.size() == ai.zones.size();
    for (std::size_t k = 0; permutation && k < sorted.size(); ++k)
        permutation = sorted[k] == int(k);
    if (!permutation)
        return unchanged(ai, areas, "the new order does not name every zone once");
    RaceOrderEdit edit {ai, areas, {}, -1, {}};
    for (std::size_t k = 0; k < order.size(); ++k) {
        edit.ai.zones[k] = ai.zones[std::size_t(order[k])];
        edit.ai.targets[k] = ai.targets[std::size_t(order[k])];
    }
    return edit;
}

} // namespace velmor::rom
