#pragma once

#include "library/identify/mineralsearch.h"

#include <QStringList>

class MineralGroups;

// When a group-level answer is trusted. The rule was tuned (tuneGroupConfidence, 97.5 % right)
// on all five folds by sample of RRUFF's spectra before two close leaders were ordered by their
// distinguishing bands; since then the five folds choose a score of 6.8, but 7.5 keeps loo/ at
// 98 % right (97.2 % with 6.8). Tuned on four folds each, the rule chose scores of 6.8 to 6.9
// and leads of 0.35 to 0.5, and held 97.6 % on the fifth.
struct GroupAnswerParameters
{
    // Minerals of the group within this score of the best one are its candidates: the spectra do
    // not tell them apart. With 0.5, where the group is right but the best mineral is not, the
    // right one is among 1.4 candidates on average two times in three.
    double candidateSpread = 0.5;
    // "sicher" at group level: the best score is at least this, and it leads every mineral
    // outside the group by at least confidentMargin (scores 0..10).
    double confidentScore = 7.5;
    double confidentMargin = 0.45;
};

// The answer at the level of the structural group, as a mineralogist gives it when neighbours of
// one group cannot be told apart: "Garnet: Almandine / Pyrope". Its confidence is its own: the
// lead of the group over every mineral outside it. A best mineral in no group stands alone, with
// its confidence at mineral level.
struct GroupAnswer
{
    QString group;          // the best mineral's structural group; empty when it has none
    QStringList candidates; // the group's minerals within the spread of the best, best first
    double score = 0.0;     // the best mineral's
    double margin = 0.0;    // best score minus the best one's outside the group
    IdentificationConfidence confidence = IdentificationConfidence::Uncertain;

    bool isEmpty() const { return candidates.isEmpty(); }
    // Names the group rather than one mineral.
    bool namesGroup() const { return !group.isEmpty() && candidates.size() > 1; }
    // "Garnet: Almandine / Pyrope" ("Garnet: Almandine" when the spectra single one out), or the
    // mineral alone when it is in no group.
    QString text() const;
    // Whether the answer holds for a sample of `mineral`: it is the best mineral or in the group.
    bool holdsFor(const QString &mineral, const MineralGroups &groups) const;
};

GroupAnswer groupAnswer(const MineralIdentification &identification,
                        const GroupAnswerParameters &parameters, const MineralGroups &groups);
GroupAnswer groupAnswer(const MineralIdentification &identification,
                        const GroupAnswerParameters &parameters = {});

// What the rules reached on 5-fold cross-validation by sample on RRUFF's 3,083 searchable spectra
// (raman-cli evaluate --folds 5), per cent: of all spectra, those answered "sicher", and of
// those, the right ones; at mineral and at group level.
struct MeasuredConfidence
{
    double mineralCovers, mineralRight, groupCovers, groupRight, groupTop1;
};
extern const MeasuredConfidence measuredConfidence;

// The rule of both confidences with the thresholds in force and how it measured, for users:
// rich text, translated.
QString confidenceRuleText();
// The same in plain English, for the command line.
QString confidenceRuleEnglish();

// An answer of known truth, for choosing the rule.
struct GroupExample
{
    double score = 0.0;
    double margin = 0.0;
    bool mineralConfident = false; // sure at mineral level already
    bool grouped = false;          // the best mineral is in a group
    bool right = false;            // the group answer holds
};

// The group rule that covers most examples while at least `precision` (0..1) of those it calls
// "sicher" are right; `base` gives the values that are not tuned.
GroupAnswerParameters tuneGroupConfidence(const QVector<GroupExample> &examples, double precision,
                                          GroupAnswerParameters base = {});
bool groupConfident(const GroupExample &example, const GroupAnswerParameters &parameters);
