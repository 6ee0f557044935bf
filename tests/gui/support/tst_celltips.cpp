// Tool-tips on a grid with fixed column widths: the whole text where a cell
// or header is cut, nothing where it fits.
#include "gui/support/celltips.h"

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QToolTip>

using namespace qmx;

class TstCellTips : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tipsOnlyWhereTextIsCut_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("header");
        QTest::addColumn<bool>("tip");
        QTest::newRow("short cell") << "ab" << false << false;
        QTest::newRow("long cell") << "Kestrix Integrated Services" << false << true;
        QTest::newRow("empty cell") << "" << false << false;
        QTest::newRow("short header") << "Key" << true << false;
        QTest::newRow("long header") << "Original File Version" << true << true;
    }

    void tipsOnlyWhereTextIsCut()
    {
        QFETCH(QString, text);
        QFETCH(bool, header);
        QFETCH(bool, tip);
        QStandardItemModel model(1, 2);
        QTableView view;
        view.setModel(&model);
        view.horizontalHeader()->resizeSection(0, 60);
        installClippedTextTips(&view);
        if (header)
            model.setHeaderData(0, Qt::Horizontal, text);
        else
            model.setItem(0, 0, new QStandardItem(text));
        view.resize(300, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        QWidget* area = header ? view.horizontalHeader()->viewport() : view.viewport();
        const QPoint at = header ? QPoint(10, view.horizontalHeader()->height() / 2)
                                 : view.visualRect(model.index(0, 0)).center();
        QToolTip::hideText();
        QTRY_VERIFY(!QToolTip::isVisible());
        QHelpEvent event(QEvent::ToolTip, at, area->mapToGlobal(at));
        QApplication::sendEvent(area, &event);
        QCOMPARE(QToolTip::isVisible() ? QToolTip::text() : QString(), tip ? text : QString());
    }
};

QTEST_MAIN(TstCellTips)
#include "tst_celltips.moc"
