#include "course/tile_validator.h"
#include "tests/support/test_main.h"

#include <QTest>
#include <QValidator>

using namespace velmor;

class TestTileValidator : public QObject
{
    Q_OBJECT

private slots:
    void validate_data();
    void validate();
};

void TestTileValidator::validate_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("empty while typing") << QString() << true;
    QTest::newRow("one digit") << QStringLiteral("7") << true;
    QTest::newRow("upper case") << QStringLiteral("FF") << true;
    QTest::newRow("lower case") << QStringLiteral("0a") << true;
    QTest::newRow("mixed case") << QStringLiteral("cE") << true;
    QTest::newRow("three digits") << QStringLiteral("123") << false;
    QTest::newRow("not hexadecimal") << QStringLiteral("G1") << false;
    QTest::newRow("second not hexadecimal") << QStringLiteral("1g") << false;
    QTest::newRow("blank") << QStringLiteral(" 1") << false;
    QTest::newRow("sign") << QStringLiteral("-1") << false;
    QTest::newRow("prefix") << QStringLiteral("0x") << false;
}

void TestTileValidator::validate()
{
    QFETCH(QString, input);
    QFETCH(bool, accepted);

    QObject owner;
    QValidator *validator = createTileValidator(&owner);
    QCOMPARE(validator->parent(), &owner);
    int position = int(input.size());
    const QValidator::State state = validator->validate(input, position);
    QCOMPARE(state, accepted ? QValidator::Acceptable : QValidator::Invalid);
}

VELMOR_GUILESS_TEST_MAIN(TestTileValidator)
#include "test_tile_validator.moc"
