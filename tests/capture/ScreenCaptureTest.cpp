// Mouse events take the window system's path: the capture dialog must receive the drag as a top-level window does.
#define QTEST_QPA_MOUSE_HANDLING

#include "canvas/CDrawableObjectModel.h"
#include "canvas/CImageView2D.h"
#include "canvas/CImageView2DController.h"
#include "canvas/CImageViewModeModel.h"
#include "capture/CScreenCaptureDlg.h"
#include "frame/CMVCRegistry.h"
#include "frame/CModel.h"
#include "images/CImageListModel.h"

#include "Utils/COvrelImage.h"

#include <QClipboard>
#include <QMainWindow>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using Ovrel::Utils::COvrelImage;

namespace
{
// Pixel (x, y) of the target window: a pattern that no two nearby rectangles share.
QRgb PatternAt(int x, int y)
{
    return qRgb((x * 7) % 256, (y * 5) % 256, (x + y) % 256);
}

// Whether the four corners of a screen rectangle show the pattern window's pixels there.
bool ScreenShowsPattern(const QRect& rect)
{
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    for (const QPoint& corner : {rect.topLeft(), rect.topRight(), rect.bottomLeft(), rect.bottomRight()})
    {
        if ((screen.pixel(corner) & 0xffffff) != (PatternAt(corner.x() - 300, corner.y() - 200) & 0xffffff))
            return false;
    }
    return true;
}

// A frameless window at a known place of the screen that paints the pattern.
class CPatternWindow : public QWidget
{
public:
    CPatternWindow() : QWidget(nullptr, Qt::FramelessWindowHint)
    {
        m_image = QImage(400, 300, QImage::Format_RGB32);
        for (int y = 0; y < m_image.height(); ++y)
            for (int x = 0; x < m_image.width(); ++x)
                m_image.setPixel(x, y, PatternAt(x, y));
        setGeometry(300, 200, 400, 300);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, m_image); }

private:
    QImage m_image;
};

// Stands for the program's main window: the capture minimises it and brings it back maximised.
class CMainWindowModel : public CModel
{
};
class CMainWindowController : public CController
{
public:
    bool Undo() override { return false; }
    bool Redo() override { return false; }
};
} // namespace

// The snip tool of a canvas, on a real X screen (Xvfb): a drag over a window with known pixels becomes the viewer's
// new image and the clipboard's; Escape or a click ends the capture without either.
class ScreenCaptureTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void dragGrabsThatRectangleOfTheScreen_data();
    void dragGrabsThatRectangleOfTheScreen();
    void escapeOrClickCancels_data();
    void escapeOrClickCancels();

private:
    bool OpenTool();

    std::unique_ptr<CPatternWindow> m_pTarget;
    std::unique_ptr<QMainWindow> m_pMainWindow;
    std::unique_ptr<CMainWindowModel> m_pMainModel;
    std::unique_ptr<CMainWindowController> m_pMainController;
    std::unique_ptr<CImageListModel> m_pImages;
    std::unique_ptr<CDrawableObjectModel> m_pObjects;
    std::unique_ptr<CImageViewModeModel> m_pMode;
    std::unique_ptr<CImageView2D> m_pCanvas;
    std::unique_ptr<CImageView2DController> m_pController;
};

void ScreenCaptureTest::initTestCase()
{
    QVERIFY(QGuiApplication::primaryScreen());
    QCOMPARE(QGuiApplication::platformName(), QString("xcb"));
}

void ScreenCaptureTest::init()
{
    m_pTarget = std::make_unique<CPatternWindow>();
    m_pTarget->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pTarget.get()));
    m_pMainWindow = std::make_unique<QMainWindow>();
    m_pMainWindow->setGeometry(0, 0, 200, 100);
    m_pMainModel = std::make_unique<CMainWindowModel>();
    m_pMainController = std::make_unique<CMainWindowController>();
    CMVCRegistry::PushMVC(m_pMainModel.get(), m_pMainWindow.get(), m_pMainController.get());
    m_pImages = std::make_unique<CImageListModel>();
    m_pObjects = std::make_unique<CDrawableObjectModel>();
    m_pMode = std::make_unique<CImageViewModeModel>();
    m_pCanvas = std::make_unique<CImageView2D>(m_pImages.get(), m_pObjects.get(), m_pMode.get(), 0);
    m_pController = std::make_unique<CImageView2DController>(m_pImages.get(), m_pObjects.get(), m_pMode.get(),
                                                             m_pCanvas.get(), nullptr, nullptr, nullptr);
    QGuiApplication::clipboard()->setText("before");
}

void ScreenCaptureTest::cleanup()
{
    m_pController.reset();
    m_pCanvas.reset();
    m_pMode.reset();
    m_pObjects.reset();
    m_pImages.reset();
    m_pMainController.reset();
    m_pMainModel.reset();
    m_pMainWindow.reset();
    m_pTarget.reset();
}

bool ScreenCaptureTest::OpenTool()
{
    m_pController->slot_OpenSnipTool();
    CScreenCaptureDlg* pDialog = m_pController->GetCaptureDialog();
    return QTest::qWaitForWindowExposed(pDialog) && pDialog->geometry() == QGuiApplication::primaryScreen()->geometry();
}

void ScreenCaptureTest::dragGrabsThatRectangleOfTheScreen_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QRect>("grabbed");

    // Screen points; the pattern window's (0, 0) lies at (300, 200).
    QTest::newRow("200 by 100 down right") << QPoint(350, 250) << QPoint(550, 350) << QRect(50, 50, 200, 100);
    QTest::newRow("200 by 100 up left") << QPoint(550, 350) << QPoint(350, 250) << QRect(50, 50, 200, 100);
    QTest::newRow("30 by 40 at the corner") << QPoint(300, 200) << QPoint(330, 240) << QRect(0, 0, 30, 40);
}

void ScreenCaptureTest::dragGrabsThatRectangleOfTheScreen()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QRect, grabbed);
    QVERIFY(OpenTool());
    CScreenCaptureDlg* pDialog = m_pController->GetCaptureDialog();
    QVERIFY(m_pMainWindow->windowState() & Qt::WindowMinimized);
    QVERIFY(pDialog->isVisible());

    QTest::mousePress(pDialog, Qt::LeftButton, Qt::NoModifier, pDialog->mapFromGlobal(from));
    QTest::mouseMove(pDialog, pDialog->mapFromGlobal((from + to) / 2));
    QTest::mouseMove(pDialog, pDialog->mapFromGlobal(to));
    QCOMPARE(pDialog->GetSelection().size(), grabbed.size());
    // The selection is cut out of the dialog once it has painted, and the window below repaints what it uncovers:
    // what the user sees before letting go.
    const QRect screenRect = grabbed.translated(300, 200);
    QTRY_VERIFY(!pDialog->mask().contains(pDialog->mapFromGlobal(screenRect.center())));
    QTRY_VERIFY(ScreenShowsPattern(screenRect));
    QTest::mouseRelease(pDialog, Qt::LeftButton, Qt::NoModifier, pDialog->mapFromGlobal(to));

    QVERIFY(!pDialog->isVisible());
    QVERIFY(m_pMainWindow->windowState() & Qt::WindowMaximized);
    QCOMPARE(m_pImages->GetImageCount(), 1);
    const std::shared_ptr<COvrelImage> pImage = m_pImages->GetCurrentImage();
    QCOMPARE(pImage->GetWidth(), grabbed.width());
    QCOMPARE(pImage->GetHeight(), grabbed.height());
    QCOMPARE(pImage->GetChannels(), 4);
    const QImage clipboard = QGuiApplication::clipboard()->image();
    QCOMPARE(clipboard.size(), grabbed.size());
    for (int y = 0; y < grabbed.height(); ++y)
        for (int x = 0; x < grabbed.width(); ++x)
        {
            const QRgb expected = PatternAt(grabbed.x() + x, grabbed.y() + y);
            const unsigned char* p = pImage->GetPixel(x, y);
            if (qRgb(p[0], p[1], p[2]) != expected || (clipboard.pixel(x, y) & 0xffffff) != (expected & 0xffffff))
                QFAIL(qPrintable(QString("pixel (%1, %2) differs").arg(x).arg(y)));
        }
}

void ScreenCaptureTest::escapeOrClickCancels_data()
{
    QTest::addColumn<bool>("bEscape");

    QTest::newRow("escape") << true;
    QTest::newRow("click without drag") << false;
}

void ScreenCaptureTest::escapeOrClickCancels()
{
    QFETCH(bool, bEscape);
    QVERIFY(OpenTool());
    CScreenCaptureDlg* pDialog = m_pController->GetCaptureDialog();
    pDialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(pDialog));

    if (bEscape)
    {
        QTest::mousePress(pDialog, Qt::LeftButton, Qt::NoModifier, QPoint(400, 300));
        QTest::mouseMove(pDialog, QPoint(450, 320));
        QTest::keyClick(pDialog, Qt::Key_Escape);
    }
    else
    {
        QTest::mousePress(pDialog, Qt::LeftButton, Qt::NoModifier, QPoint(400, 300));
        QTest::mouseRelease(pDialog, Qt::LeftButton, Qt::NoModifier, QPoint(400, 300));
    }

    QTRY_VERIFY(!pDialog->isVisible());
    QVERIFY(m_pMainWindow->windowState() & Qt::WindowMaximized);
    QCOMPARE(m_pImages->GetImageCount(), 0);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("before"));
}

QTEST_MAIN(ScreenCaptureTest)
#include "ScreenCaptureTest.moc"
