// 编辑框4's line ends: CR LF is a line break on screen, a lone CR or LF comes back as it was.
#include <QTest>

#ifndef Q_MOC_RUN
#include "ui/qt/list_box.hpp"
#endif

namespace proxylist::testing {

class ListBoxTextTest : public QObject {
    Q_OBJECT

  private slots:
    void display_and_back_data();
    void display_and_back();
};

void ListBoxTextTest::display_and_back_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    const QString paragraph(QChar::ParagraphSeparator);
    const QString line(QChar::LineSeparator);
    const QString cr_symbol(QChar(0x240D));
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("one_line") << QStringLiteral("1.2.3.4:80") << QStringLiteral("1.2.3.4:80");
    QTest::newRow("crlf") << QStringLiteral("a\r\nb") << QStringLiteral("a\nb");
    QTest::newRow("trailing_crlf") << QStringLiteral("a\r\n") << QStringLiteral("a\n");
    QTest::newRow("only_crlfs") << QStringLiteral("\r\n\r\n") << QStringLiteral("\n\n");
    QTest::newRow("lone_lf") << QStringLiteral("a\nb")
                             << (QStringLiteral("a") + line + QStringLiteral("b"));
    QTest::newRow("lone_cr") << QStringLiteral("a\rb")
                             << (QStringLiteral("a") + cr_symbol + QStringLiteral("b"));
    QTest::newRow("cr_before_crlf")
        << QStringLiteral("a\r\r\nb") << (QStringLiteral("a") + cr_symbol + QStringLiteral("\nb"));
    QTest::newRow("lf_cr") << QStringLiteral("a\n\rb")
                           << (QStringLiteral("a") + line + cr_symbol + QStringLiteral("b"));
    QTest::newRow("crlf_lf") << QStringLiteral("\r\n\n") << (QStringLiteral("\n") + line);
    QTest::newRow("chinese") << QStringLiteral("北京\r\n上海") << QStringLiteral("北京\n上海");
}

void ListBoxTextTest::display_and_back() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(list_box_display_text(text), shown);
    // What the document stores: each "\n" of the shown text opens a paragraph.
    QString raw = shown;
    raw.replace(u'\n', QChar::ParagraphSeparator);
    QCOMPARE(list_box_text_from_display(raw), text);
}

}  // namespace proxylist::testing

QTEST_APPLESS_MAIN(proxylist::testing::ListBoxTextTest)
#include "list_box_text_test.moc"
