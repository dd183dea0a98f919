#pragma once

#include <QVector>

// Of the candidate rules, in the order given, the one that calls the most examples sure while at
// least `precision` (0..1) of those are right and `acceptable(rule)` holds; of equal coverage the
// later one, so callers list their candidates from lenient to strict. `fallback` when none holds.
template<typename Rule, typename Example, typename Sure, typename Acceptable>
Rule mostCoveringRule(const QVector<Rule> &candidates, const QVector<Example> &examples,
                      double precision, Rule fallback, Sure sure, Acceptable acceptable)
{
    int bestCovered = -1;
    for (const Rule &candidate : candidates) {
        int covered = 0, right = 0;
        for (const Example &example : examples) {
            if (sure(candidate, example)) {
                ++covered;
                right += example.right;
            }
        }
        if (right >= precision * covered && covered >= bestCovered && acceptable(candidate)) {
            bestCovered = covered;
            fallback = candidate;
        }
    }
    return fallback;
}
