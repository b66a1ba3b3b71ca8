#include "render/HLiveTextures.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QtTest>

#include <vector>

// The count a long run trusts to tell a texture leak: it must see textures made and freed in any
// order, also one whose name lies far above the names freed below it.
class TestLiveTextures : public QObject
{
    Q_OBJECT

private:
    std::vector<GLuint> make(QOpenGLFunctions* gl, int count)
    {
        std::vector<GLuint> names(std::size_t(count), 0);
        gl->glGenTextures(count, names.data());
        for (GLuint name : names) {
            gl->glBindTexture(GL_TEXTURE_2D, name);
        }
        gl->glBindTexture(GL_TEXTURE_2D, 0);
        return names;
    }

private slots:
    void followsTexturesMadeAndFreed()
    {
        QOffscreenSurface surface;
        surface.create();
        QOpenGLContext context;
        QVERIFY(context.create());
        QVERIFY(context.makeCurrent(&surface));
        QOpenGLFunctions* gl = context.functions();
        HLiveTextures live;
        const int level = live.count(gl);

        std::vector<GLuint> five = make(gl, 5);
        QCOMPARE(live.count(gl), level + 5);
        gl->glDeleteTextures(2, five.data());
        QCOMPARE(live.count(gl), level + 3);

        // Three thousand made and all but the newest freed: the survivor sits beyond any margin
        // above the freed names, and freed names may be handed out again below it.
        std::vector<GLuint> many = make(gl, 3000);
        gl->glDeleteTextures(2999, many.data());
        QCOMPARE(live.count(gl), level + 4);
        std::vector<GLuint> reused = make(gl, 2);
        QCOMPARE(live.count(gl), level + 6);

        gl->glDeleteTextures(3, five.data() + 2);
        gl->glDeleteTextures(1, &many.back());
        gl->glDeleteTextures(2, reused.data());
        QCOMPARE(live.count(gl), level);
    }
};

QTEST_MAIN(TestLiveTextures)
#include "tst_livetextures.moc"
