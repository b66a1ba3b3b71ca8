#include "render/HShaderCodeBuilder.h"

#include <QtTest>

#include <climits>

// The generated fragment shader text and the builder's properties; tst_shadercompile compiles it.
class TestShaderCodeBuilder : public QObject
{
    Q_OBJECT

private:
    using B = HShaderCodeBuilder;

    // Landmarks: the plain screen helpers, the end of the contrast step and the start of the
    // vignetting.
    const QString plainHelpers = "vec2 fragCoord() { return vec2(gl_FragCoord.x,gl_FragCoord.y); }\n"
                                 "mat4 getMatViewInverse() { return uMatViewInverse; }\n";
    const QString contrastEnd = "(1.0 - uContrast) + 0.5;";
    const QString vignettingStart = "vec3 vigtmp";

    static QString between(const QString& text, const QString& from, const QString& to)
    {
        const int start = text.indexOf(from);
        const int end = text.indexOf(to, start + from.size());
        return start < 0 || end < 0 ? QStringLiteral("<missing>")
                                    : text.mid(start + from.size(), end - start - from.size());
    }

private slots:
    void defaultTextIsTheGolden()
    {
        QFile golden(QStringLiteral(GYRE_TEST_DATA_DIR "/data/default-fragment-shader.frag"));
        QVERIFY2(golden.open(QIODevice::ReadOnly), qPrintable(golden.fileName()));
        const QString expected = QString::fromLatin1(golden.readAll());
        const QString text = HShaderCodeBuilder().build(false);
        int i = 0;
        while (i < text.size() && i < expected.size() && text.at(i) == expected.at(i)) {
            ++i;
        }
        QVERIFY2(text == expected, qPrintable(QString("differs at %1: \"%2\" instead of \"%3\"")
                                                  .arg(i)
                                                  .arg(text.mid(i, 60), expected.mid(i, 60))));
    }

    void cycles_data()
    {
        QTest::addColumn<bool>("effect");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addRow("effect: none to sepia") << true << int(B::NO_EFFECT) << int(B::SEPIA);
        QTest::addRow("effect: blue wraps") << true << int(B::BLUE_ONLY) << int(B::NO_EFFECT);
        QTest::addRow("effect: end marker") << true << int(B::LAST_VALUE_EFFECT) << int(B::NO_EFFECT);
        QTest::addRow("effect: largest int") << true << INT_MAX << int(B::NO_EFFECT);
        QTest::addRow("effect: negative steps up") << true << -3 << -2;
        QTest::addRow("projection: flat") << false << int(B::NO_PROJECTION) << int(B::RECTILINEAR);
        QTest::addRow("projection: rectilinear") << false << int(B::RECTILINEAR) << int(B::NO_PROJECTION);
        QTest::addRow("projection: end marker")
            << false << int(B::LAST_VALUE_PROJECTION) << int(B::NO_PROJECTION);
        QTest::addRow("projection: fisheye") << false << int(B::FISHEYE) << int(B::NO_PROJECTION);
        QTest::addRow("projection: out of range") << false << 99 << int(B::NO_PROJECTION);
        QTest::addRow("projection: -1") << false << -1 << int(B::NO_PROJECTION);
    }
    void cycles()
    {
        QFETCH(bool, effect);
        QFETCH(int, from);
        QFETCH(int, to);
        HShaderCodeBuilder builder;
        effect ? builder.setEffect(from) : builder.setProjection(from);
        QSignalSpy effectSpy(&builder, &B::effectChanged);
        QSignalSpy projectionSpy(&builder, &B::projectionChanged);
        effect ? builder.setNextEffect() : builder.setNextProjection();
        QCOMPARE(effect ? builder.effect() : builder.projection(), to);
        QCOMPARE(effectSpy.count(), effect && from != to ? 1 : 0);
        QCOMPARE(projectionSpy.count(), !effect && from != to ? 1 : 0);
    }

    // The head-mounted text differs only in the screen helpers, and for rectilinear also by the
    // vertical correction right after the ray is built.
    void effects_data()
    {
        QTest::addColumn<int>("effect");
        QTest::addColumn<QString>("signature");
        QTest::addRow("sepia") << int(B::SEPIA) << "frag = vec3(y + 0.15, y + 0.07, y - 0.12);";
        QTest::addRow("black and white") << int(B::BLACK_AND_WHITE) << "y = y < threshold ? 0.0 : 1.0;";
        QTest::addRow("tv") << int(B::TV) << "float sweepRate = 60.0;";
        QTest::addRow("invert") << int(B::INVERT) << "frag = 1.0 - frag;";
        QTest::addRow("red") << int(B::RED_ONLY) << "fxtmp = vec3(max(fxavg, thr), gb, gb);frag = fxtmp;";
        QTest::addRow("yellow") << int(B::YELLOW_ONLY)
                                << "vec3(max(fxavg, thr), max(fxavg, thr), gb);frag = fxtmp;";
        QTest::addRow("blue") << int(B::BLUE_ONLY) << "fxtmp = vec3(gb, gb, max(fxavg, thr));frag = fxtmp;";
        QTest::addRow("end marker") << int(B::LAST_VALUE_EFFECT) << "";
        QTest::addRow("out of range") << -1 << "";
    }
    void effects()
    {
        QFETCH(int, effect);
        QFETCH(QString, signature);
        HShaderCodeBuilder builder;
        const QString plain = builder.build(false);
        builder.setEffect(effect);
        const QString text = builder.build(false);
        const QString piece = between(text, contrastEnd, vignettingStart);
        QVERIFY2(signature.isEmpty() ? piece.isEmpty() : piece.contains(signature), qPrintable(piece));
        QCOMPARE(QString(text).remove(text.indexOf(contrastEnd) + contrastEnd.size(), piece.size()), plain);
    }
};

QTEST_GUILESS_MAIN(TestShaderCodeBuilder)
#include "tst_shadercodebuilder.moc"
