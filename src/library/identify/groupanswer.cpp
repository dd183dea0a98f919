#include "library/identify/groupanswer.h"

#include "library/mineralgroups.h"

#include <optional>

QString GroupAnswer::text() const
{
    if (group.isEmpty())
        return candidates.value(0);
    return group + QStringLiteral(": ") + candidates.join(QStringLiteral(" / "));
}

bool GroupAnswer::holdsFor(const QString &mineral, const MineralGroups &groups) const
{
    if (isEmpty())
        return false;
    if (candidates.constFirst() == mineral)
        return true;
    return !group.isEmpty() && groups.groupsOf(mineral).contains(group);
}

bool groupConfident(const GroupExample &example, const GroupAnswerParameters &parameters)
{
    return example.mineralConfident
           || (example.grouped && example.score >= parameters.confidentScore
               && example.margin >= parameters.confidentMargin);
}

GroupAnswer groupAnswer(const MineralIdentification &identification,
                        const GroupAnswerParameters &parameters, const MineralGroups &groups)
{
    GroupAnswer answer;
    const QVector<MineralHit> &minerals = identification.minerals;
    if (minerals.isEmpty())
        return answer;
    const MineralHit &best = minerals.constFirst();
    answer.score = best.score;
    answer.margin = identification.margin;
    // Looked up as far as needed: the first minerals outside the group end every walk.
    QVector<std::optional<QStringList>> looked(minerals.size());
    const auto groupsOfHit = [&](int i) -> const QStringList & {
        if (!looked[i])
            looked[i] = groups.groupsOf(minerals[i].name);
        return *looked[i];
    };
    // Of two groups of the best mineral, the one that leads the rest of the library furthest.
    for (const QString &group : groupsOfHit(0)) {
        double outside = 0.0;
        for (int i = 1; i < minerals.size(); ++i) {
            if (!groupsOfHit(i).contains(group)) {
                outside = minerals[i].score;
                break;
            }
        }
        if (answer.group.isEmpty() || best.score - outside > answer.margin) {
            answer.group = group;
            answer.margin = best.score - outside;
        }
    }
    answer.candidates.append(best.name);
    for (int i = 1; i < minerals.size() && !answer.group.isEmpty(); ++i) {
        if (best.score - minerals[i].score > parameters.candidateSpread)
            break;
        if (groupsOfHit(i).contains(answer.group))
            answer.candidates.append(minerals[i].name);
    }
    GroupExample example;
    example.score = answer.score;
    example.margin = answer.margin;
    example.mineralConfident = identification.confidence == IdentificationConfidence::Confident;
    example.grouped = !answer.group.isEmpty();
    answer.confidence = groupConfident(example, parameters) ? IdentificationConfidence::Confident
                                                            : identification.confidence;
    return answer;
}

GroupAnswer groupAnswer(const MineralIdentification &identification,
                        const GroupAnswerParameters &parameters)
{
    return groupAnswer(identification, parameters, MineralGroups::shipped());
}

GroupAnswerParameters tuneGroupConfidence(const QVector<GroupExample> &examples, double precision,
                                          GroupAnswerParameters base)
{
    GroupAnswerParameters best = base;
    int bestCovered = -1;
    // Scores 5..10 in steps of 0.1, margins 0..3 in steps of 0.05.
    for (int s = 50; s <= 100; ++s) {
        for (int m = 0; m <= 60; ++m) {
            GroupAnswerParameters candidate = base;
            candidate.confidentScore = s / 10.0;
            candidate.confidentMargin = m / 20.0;
            int covered = 0, right = 0;
            for (const GroupExample &example : examples) {
                if (groupConfident(example, candidate)) {
                    ++covered;
                    right += example.right;
                }
            }
            if (right >= precision * covered && covered > bestCovered) {
                bestCovered = covered;
                best = candidate;
            }
        }
    }
    return best;
}
