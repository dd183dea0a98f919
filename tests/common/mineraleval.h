#pragma once

// Generated mixtures of library spectra and how the mixture fit resolves them. Shared by the
// tests and the benchmark.

#include "library/identify/mixturefit.h"
#include "library/identify/searchevaluation.h"
#include "librarycopy.h"

#include <climits>
#include <random>

// A generated mixture: library spectra (each scaled to unit area over the range all of them
// cover) weighted `weights`, plus a fluorescence background (a broad Gaussian as high as the
// strongest band, on a sloping line) and Gaussian noise of 1 % of the strongest band. Empty when
// the spectra share less than 600 1/cm.
inline RamanData<Wavenumbers> generatedMixture(const RLibrary &library, const QVector<int> &members,
                                               const QVector<double> &weights, std::mt19937 &random)
{
    int first = INT_MIN, end = INT_MAX;
    for (const int m : members) {
        const RamanData<Wavenumbers> &d = library.spectra()[m].resampledData;
        if (d.isEmpty())
            return {};
        first = std::max(first, MineralSearch::binOf(d.x.first()));
        end = std::min(end, MineralSearch::binOf(d.x.first()) + d.size());
    }
    if ((end - first) * librarySearchStep < 600)
        return {};
    RamanData<Wavenumbers> sum;
    sum.y.fill(0.0, end - first);
    for (int bin = first; bin < end; ++bin)
        sum.x.append(bin * librarySearchStep);
    for (int c = 0; c < members.size(); ++c) {
        const RamanData<Wavenumbers> &d = library.spectra()[members[c]].resampledData;
        const int offset = first - MineralSearch::binOf(d.x.first());
        double area = 0.0;
        for (int j = 0; j < sum.size(); ++j)
            area += std::max(d.y[offset + j], 0.0);
        if (!(area > 0.0))
            return {};
        for (int j = 0; j < sum.size(); ++j)
            sum.y[j] += weights[c] * d.y[offset + j] / area;
    }
    const double top = *std::max_element(sum.y.cbegin(), sum.y.cend());
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> noise(0.0, 0.01 * top);
    const double centre = sum.x.first() + unit(random) * (sum.x.last() - sum.x.first());
    const double width = 800.0 + 1200.0 * unit(random);
    const double slope = (unit(random) - 0.5) * top / (sum.x.last() - sum.x.first());
    for (int j = 0; j < sum.size(); ++j) {
        const double u = (sum.x[j] - centre) / width;
        sum.y[j]
            += top * (std::exp(-u * u) + 0.5) + slope * (sum.x[j] - sum.x.first()) + noise(random);
    }
    return sum;
}

// Random distinct-mineral sets of `size` library spectra that overlap by at least 600 1/cm.
inline QVector<QVector<int>> mixtureMembers(const RLibrary &library, int count, int size,
                                            std::mt19937 &random)
{
    QVector<QVector<int>> sets;
    std::uniform_int_distribution<int> pick(0, library.count() - 1);
    while (sets.size() < count) {
        QVector<int> members;
        QStringList names;
        while (members.size() < size) {
            const int m = pick(random);
            if (!names.contains(library.spectra()[m].info.name)) {
                members.append(m);
                names.append(library.spectra()[m].info.name);
            }
        }
        std::mt19937 probe(1);
        if (!generatedMixture(library, members, QVector<double>(size, 1.0), probe).isEmpty())
            sets.append(members);
    }
    return sets;
}

// Rank (0 = best) of the fit that names exactly the minerals of `members`; -1 when none does.
inline int mixtureRank(const RLibrary &library, const QVector<MixtureFit> &fits,
                       const QVector<int> &members)
{
    QStringList expected;
    for (const int m : members)
        expected.append(library.spectra()[m].info.name);
    expected.sort();
    for (int rank = 0; rank < fits.size(); ++rank) {
        QStringList names;
        for (const MixtureComponent &c : fits[rank].components)
            names.append(c.name);
        names.sort();
        if (names == expected)
            return rank;
    }
    return -1;
}
