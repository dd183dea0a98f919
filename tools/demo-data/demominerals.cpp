#include "demominerals.h"

#include <QtGlobal>

const QVector<DemoMineral> &demoMinerals()
{
    static const QVector<DemoMineral> minerals{
        {QStringLiteral("Quartz"),
         QStringLiteral("Quarz"),
         QStringLiteral("SiO<sub>2</sub>"),
         {{128, 0.35, 4},
          {206, 0.5, 7},
          {264, 0.1, 5},
          {355, 0.15, 5},
          {464, 1.0, 4},
          {808, 0.08, 6},
          {1082, 0.05, 6}}},
        {QStringLiteral("Calcite"),
         QStringLiteral("Calcit"),
         QStringLiteral("CaCO<sub>3</sub>"),
         {{155, 0.3, 4}, {282, 0.45, 5}, {712, 0.2, 3}, {1086, 1.0, 3}}},
        {QStringLiteral("Aragonite"),
         QStringLiteral("Aragonit"),
         QStringLiteral("CaCO<sub>3</sub>"),
         {{153, 0.4, 4}, {206, 0.45, 5}, {704, 0.15, 3}, {1085, 1.0, 3}}},
        {QStringLiteral("Gypsum"),
         QStringLiteral("Gips"),
         QStringLiteral("CaSO<sub>4</sub>&middot;2H<sub>2</sub>O"),
         {{414, 0.25, 6},
          {494, 0.2, 6},
          {618, 0.1, 5},
          {670, 0.08, 5},
          {1008, 1.0, 3},
          {1136, 0.15, 5}}},
        {QStringLiteral("Anatase"),
         QStringLiteral("Anatas"),
         QStringLiteral("TiO<sub>2</sub>"),
         {{144, 1.0, 6}, {197, 0.1, 5}, {399, 0.25, 10}, {516, 0.2, 10}, {639, 0.3, 12}}},
        {QStringLiteral("Rutile"),
         QStringLiteral("Rutil"),
         QStringLiteral("TiO<sub>2</sub>"),
         {{143, 0.1, 4}, {240, 0.3, 25}, {447, 1.0, 14}, {612, 0.8, 15}}},
        {QStringLiteral("Hematite"),
         QStringLiteral("Hämatit"),
         QStringLiteral("Fe<sub>2</sub>O<sub>3</sub>"),
         {{226, 1.0, 5},
          {245, 0.3, 5},
          {293, 0.9, 6},
          {412, 0.4, 8},
          {498, 0.15, 10},
          {613, 0.2, 12},
          {1320, 0.3, 30}}},
        {QStringLiteral("Diamond"),
         QStringLiteral("Diamant"),
         QStringLiteral("C"),
         {{1332, 1.0, 2}}},
        {QStringLiteral("Corundum"),
         QStringLiteral("Korund"),
         QStringLiteral("Al<sub>2</sub>O<sub>3</sub>"),
         {{378, 0.2, 4}, {417, 1.0, 3}, {430, 0.1, 4}, {576, 0.1, 5}, {750, 0.15, 6}}},
        {QStringLiteral("Baryte"),
         QStringLiteral("Baryt"),
         QStringLiteral("BaSO<sub>4</sub>"),
         {{453, 0.2, 3}, {462, 0.25, 3}, {617, 0.1, 3}, {988, 1.0, 3}, {1140, 0.05, 5}}},
        {QStringLiteral("Cinnabar"),
         QStringLiteral("Zinnober"),
         QStringLiteral("HgS"),
         {{253, 1.0, 5}, {284, 0.2, 6}, {343, 0.5, 7}}},
        {QStringLiteral("Lazurite"),
         QStringLiteral("Lasurit"),
         QStringLiteral("Na<sub>7</sub>Ca(Al<sub>6</sub>Si<sub>6</sub>O<sub>24</sub>)(SO<sub>4</"
                        "sub>)(S<sub>3</sub>)<sup>-</sup>&middot;H<sub>2</sub>O"),
         {{258, 0.2, 8}, {548, 1.0, 10}, {822, 0.1, 10}, {1096, 0.3, 12}}},
        {QStringLiteral("Forsterite"),
         QStringLiteral("Forsterit"),
         QStringLiteral("Mg<sub>2</sub>SiO<sub>4</sub>"),
         {{824, 0.9, 4}, {856, 1.0, 4}, {965, 0.2, 6}}},
        {QStringLiteral("Albite"),
         QStringLiteral("Albit"),
         QStringLiteral("NaAlSi<sub>3</sub>O<sub>8</sub>"),
         {{290, 0.2, 6}, {479, 0.4, 5}, {507, 1.0, 5}}},
    };
    return minerals;
}

const DemoMineral &demoMineral(const QString &name)
{
    for (const DemoMineral &mineral : demoMinerals()) {
        if (mineral.name == name)
            return mineral;
    }
    qFatal("unknown demo mineral");
}
