#include "scoring/ReliableChange.h"

#include <QtTest>

#include <cmath>

// Alpha, spread and reliable change against figures worked out by hand for a small table: 15
// administrations of one pattern and 15 of another, and two that leave items unanswered.
class ReliableChangeTest : public QObject
{
    Q_OBJECT

    using Items = ScoringKey::ItemTexts;
    enum Pattern
    {
        X,
        Y,
        Z
    };

    static void setScale(Items& items, int firstItem, const QList<int>& values)
    {
        for (int i = 0; i < 7; ++i)
            items[static_cast<std::size_t>(firstItem - 1 + i)] =
                values.at(i) == 0 ? QString() : QString::number(values.at(i));
    }
    // S and P: X = 1 1 1 1 1 1 2, Y = 2 2 2 2 2 2 1, Z misses an item. L: always 3 (no spread).
    // F1: as S, with item 15 unanswered by Z and by the first five X. F2: X all 1, Y all 2.
    static Items administration(Pattern pattern, int index = 0)
    {
        const QList<int> x{1, 1, 1, 1, 1, 1, 2};
        const QList<int> y{2, 2, 2, 2, 2, 2, 1};
        const QList<int> z{0, 3, 3, 3, 3, 3, 3};
        const QList<int>& mixed = pattern == X ? x : pattern == Y ? y : z;
        Items items;
        setScale(items, 1, mixed);
        setScale(items, 8, QList<int>(7, 3));
        QList<int> freedom = mixed;
        if (pattern == X && index < 5)
            freedom[0] = 0;
        setScale(items, 15, freedom);
        setScale(items, 22, mixed);
        setScale(items, 29, pattern == X ? QList<int>(7, 1) : pattern == Y ? QList<int>(7, 2) : z);
        return items;
    }
    static QList<Items> table()
    {
        QList<Items> all;
        for (int i = 0; i < 15; ++i)
            all << administration(X, i) << administration(Y, i);
        all << administration(Z) << administration(Z);
        return all;
    }

private slots:
    void figuresMatchTheHandWorkedTable()
    {
        const ReliableChange::Norms norms = ReliableChange::norms(table());
        // By hand: each item varies by 7.5/29, the sum of seven (8 or 13) by 25 * 7.5/29, so
        // alpha = 7/6 * (1 - 7/25) = 0.84; the score (8/7 or 13/7) has SD 5/7 * sqrt(7.5/29).
        const double sd = 5.0 / 7.0 * std::sqrt(7.5 / 29.0);
        for (int scale : {0, 3}) {
            const ReliableChange::ScaleNorms& s = norms.at(static_cast<std::size_t>(scale));
            QCOMPARE(s.administrations, 30);
            QVERIFY(s.enough());
            QVERIFY(std::fabs(*s.alpha - 0.84) < 1e-12);
            QVERIFY(std::fabs(*s.standardDeviation - sd) < 1e-12);
        }
        // L never varies, F1 has 25 complete administrations, F2's items agree perfectly.
        QCOMPARE(norms.at(1).administrations, 32);
        QVERIFY(!norms.at(1).enough());
        QCOMPARE(norms.at(2).administrations, 25);
        QVERIFY(!norms.at(2).enough());
        QCOMPARE(norms.at(4).administrations, 30);
        QVERIFY(!norms.at(4).enough());

        // X to Y: 5/7 over sqrt(2) * 0.4 * SD = 3.476…, reliable; one answer up in S: a fifth of it.
        const double fullChange = 1.0 / (0.4 * std::sqrt(2.0) * std::sqrt(7.5 / 29.0));
        auto changes = ReliableChange::changes(norms, administration(X, 9), administration(Y));
        QVERIFY(std::fabs(*changes.at(0).index - fullChange) < 1e-9);
        QVERIFY(changes.at(0).reliable());
        QVERIFY(std::fabs(*changes.at(3).index - fullChange) < 1e-9);
        for (int scale : {1, 2, 4})
            QVERIFY(!changes.at(static_cast<std::size_t>(scale)).index &&
                    !changes.at(static_cast<std::size_t>(scale)).reliable());
        Items oneUp = administration(X, 9);
        oneUp[6] = QStringLiteral("3");
        changes = ReliableChange::changes(norms, oneUp, administration(X, 9));
        QVERIFY(std::fabs(*changes.at(0).index + fullChange / 5.0) < 1e-9);
        QVERIFY(!changes.at(0).reliable());
        // An administration that leaves an item of the scale unanswered gives no change.
        QVERIFY(!ReliableChange::changes(norms, administration(Z), administration(X, 9)).at(0).index);
    }

    void tooFewAdministrationsGiveNoFigures()
    {
        QList<Items> all = table().mid(0, 29);
        QVERIFY(!ReliableChange::norms(all).at(0).enough());
        all << administration(Y);
        QVERIFY(ReliableChange::norms(all).at(0).enough());
        QVERIFY(!ReliableChange::change(ReliableChange::norms({}).at(0), 1.0, 5.0).index);
    }
};

QTEST_GUILESS_MAIN(ReliableChangeTest)
#include "ReliableChangeTest.moc"
