#include "render/HShaderCodeBuilder.h"
#include "render/VeyrixViewVertexShader.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLShaderProgram>
#include <QtTest>

// Every combination of the builder's choices, compiled and linked with the view's vertex shader
// by the real driver (Mesa under Xvfb); the defined ones also checked as GLSL ES 1.00, which
// OpenGL ES 2.0 drivers enforce more strictly than a desktop compiler.
class TestShaderCompile : public QObject
{
    Q_OBJECT

private:
    using B = HShaderCodeBuilder;

    struct Variant
    {
        QString name;
        bool defined; // has a projection function
        QString text;
    };

    // Projections, effects and stereo modes each with one value past the end, both stacked
    // layouts and both screen variants.
    static QList<Variant> allVariants()
    {
        QList<Variant> list;
        for (int projection = 0; projection <= B::DOME + 1; ++projection) {
            for (int effect = 0; effect <= B::LAST_VALUE_EFFECT + 1; ++effect) {
                for (int stereo = 0; stereo <= B::STEREO_3D_SIDEBYSIDE + 1; ++stereo) {
                    for (int flags = 0; flags < 4; ++flags) {
                        HShaderCodeBuilder builder;
                        builder.setProjection(projection);
                        builder.setEffect(effect);
                        builder.setStereoMode(stereo);
                        builder.setStacked(flags & 1);
                        list.append({QString("projection %1 effect %2 stereo %3 stacked %4 head-mounted %5")
                                         .arg(projection)
                                         .arg(effect)
                                         .arg(stereo)
                                         .arg(flags & 1)
                                         .arg(flags >> 1),
                                     projection <= B::DOME && projection != B::LAST_VALUE_PROJECTION,
                                     builder.build(flags & 2)});
                    }
                    // The other frame inputs sample differently; the rest of the text is the same.
                    for (const int input : {B::YUV_INPUT, B::TILED_INPUT, B::TILE_REQUEST_INPUT}) {
                        HShaderCodeBuilder builder;
                        builder.setProjection(projection);
                        builder.setEffect(effect);
                        builder.setStereoMode(stereo);
                        list.append({QString("projection %1 effect %2 stereo %3 input %4")
                                         .arg(projection)
                                         .arg(effect)
                                         .arg(stereo)
                                         .arg(input),
                                     projection <= B::DOME && projection != B::LAST_VALUE_PROJECTION,
                                     builder.build(false, input)});
                    }
                }
            }
        }
        return list;
    }

    // One validator run over all given fragment texts and the vertex shader. The stage comes
    // from the file suffix; with no #version line and no -d the validator reads GLSL ES 1.00.
    static bool validateAsEs100(const QStringList& fragments, QString* output)
    {
        QTemporaryDir dir;
        QStringList files{"view.vert"};
        for (int i = 0; i < fragments.size(); ++i) {
            files << QString("%1.frag").arg(i);
        }
        for (int i = 0; i < files.size(); ++i) {
            QFile file(dir.filePath(files.at(i)));
            const QByteArray text =
                i == 0 ? QByteArray(VeyrixViewVertexShader::source) : fragments.at(i - 1).toLatin1();
            if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
                *output = "cannot write " + file.fileName();
                return false;
            }
        }
        QProcess validator;
        validator.setWorkingDirectory(dir.path());
        validator.setProcessChannelMode(QProcess::MergedChannels);
        validator.start(QStandardPaths::findExecutable("glslangValidator"), files);
        const bool finished = validator.waitForFinished(120000);
        *output = QString::fromLocal8Bit(validator.readAll()) + validator.errorString();
        return finished && validator.exitStatus() == QProcess::NormalExit && validator.exitCode() == 0;
    }

private slots:
    void compileAndLinkInGl()
    {
        QOffscreenSurface surface;
        surface.create();
        QOpenGLContext context;
        QVERIFY(context.create());
        QVERIFY(context.makeCurrent(&surface));
        qInfo("%s", reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER)));

        QHash<QString, QString> logs; // several variants share a text; compile each text once
        for (const Variant& v : allVariants()) {
            if (!logs.contains(v.text)) {
                if (!v.defined) {
                    // Qt reports the failed compile, source included: expect exactly that.
                    QTest::ignoreMessage(QtWarningMsg,
                                         QRegularExpression("^QOpenGLShader::compile\\(Fragment\\)"));
                    QTest::ignoreMessage(QtWarningMsg,
                                         QRegularExpression("^\\*\\*\\* Problematic Fragment shader"));
                }
                QOpenGLShaderProgram program;
                const bool ok =
                    program.addShaderFromSourceCode(QOpenGLShader::Vertex, VeyrixViewVertexShader::source) &&
                    program.addShaderFromSourceCode(QOpenGLShader::Fragment, v.text) && program.link();
                logs.insert(v.text, ok ? QString() : "failed: " + program.log());
            }
            const QString log = logs.value(v.text);
            if (v.defined) {
                QVERIFY2(log.isEmpty(), qPrintable(v.name + ": " + log));
            } else {
                // Nothing else may be wrong: the only error is the missing function p.
                QVERIFY2(log.contains(QRegularExpression("\\bp\\b")), qPrintable(v.name + ": " + log));
            }
        }
        qInfo("%d variants, %d distinct texts", int(allVariants().size()), int(logs.size()));
    }

    void definedVariantsAreGlslEs100()
    {
        QVERIFY2(!QStandardPaths::findExecutable("glslangValidator").isEmpty(),
                 "glslangValidator is missing: tools/install-deps installs glslang-tools");
        QStringList texts;
        for (const Variant& v : allVariants()) {
            if (v.defined) {
                texts << v.text;
            }
        }
        texts.removeDuplicates();
        QString output;
        QVERIFY2(validateAsEs100(texts, &output), qPrintable(output.left(4000)));

        // The validator really reads ES: without its precision statements the default text is
        // rejected (desktop GLSL would take it), and so is a text without a projection function.
        const QString text = HShaderCodeBuilder().build(false);
        const QString noPrecision =
            QString(text).remove("precision mediump float; \n").remove("precision highp float; \n");
        QVERIFY(noPrecision.size() < text.size());
        QVERIFY(!validateAsEs100({noPrecision}, &output));
        QVERIFY2(output.contains("precision", Qt::CaseInsensitive), qPrintable(output));
        HShaderCodeBuilder undefined;
        undefined.setProjection(B::LAST_VALUE_PROJECTION);
        QVERIFY(!validateAsEs100({undefined.build(false)}, &output));
        QVERIFY2(output.contains("'p'"), qPrintable(output));
    }
};

QTEST_MAIN(TestShaderCompile)
#include "tst_shadercompile.moc"
