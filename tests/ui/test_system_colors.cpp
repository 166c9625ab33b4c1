#include "ui/system_colors.h"

#include <QTest>

using namespace wendle;

class TestSystemColors : public QObject {
    Q_OBJECT

private slots:
    void resolvesFromThePalette_data() {
        QTest::addColumn<quint32>("code");
        QTest::addColumn<QPalette::ColorGroup>("group");
        QTest::addColumn<QPalette::ColorRole>("role");
        QTest::newRow("window text") << 0x80000008u << QPalette::Active << QPalette::Text;
        QTest::newRow("button face") << 0x8000000Fu << QPalette::Active << QPalette::Button;
        QTest::newRow("button shadow") << 0x80000010u << QPalette::Active << QPalette::Dark;
        QTest::newRow("grey text") << 0x80000011u << QPalette::Disabled << QPalette::Text;
    }
    void resolvesFromThePalette() {
        QFETCH(quint32, code);
        QFETCH(QPalette::ColorGroup, group);
        QFETCH(QPalette::ColorRole, role);
        // Distinct colours everywhere, so a wrong role cannot pass by chance.
        QPalette palette;
        int n = 0;
        for (auto g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            for (int r = 0; r < QPalette::NColorRoles; ++r)
                palette.setColor(g, QPalette::ColorRole(r), QColor::fromRgb(n++ * 2, 100, 200));
        QCOMPARE(systemColor(code, palette), palette.color(group, role));
    }

    void plainValuesAreBlueGreenRed() {
        QCOMPARE(systemColor(0x000000FFu, QPalette()), QColor(255, 0, 0));
        QCOMPARE(systemColor(0x00FF0000u, QPalette()), QColor(0, 0, 255));
    }
};

QTEST_MAIN(TestSystemColors)
#include "test_system_colors.moc"
