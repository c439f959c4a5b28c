#include <QRegularExpression>
#include <libxml/parser.h>

#include "platform/vesk_cps_exception.h"

#include <gtest/gtest.h>

namespace {

void LoadItem() {
    throw CVeskCPSException(model_msg::kInvalidProfile,
                            QStringLiteral("CDataItem::SetAttributeValue"),
                            QStringLiteral("rx_freq_ndx out of range"));
}

void LoadDocument() {
    try {
        LoadItem();
    } catch (CVeskCPSException& e) {
        e.PassOn(QStringLiteral("CVeskCPSDoc::OnOpenDocument"));
        throw;
    }
}

TEST(VeskCPSException, ContextLinesTellTheWayTheFailureTravelled) {
    try {
        LoadDocument();
        FAIL() << "no exception";
    } catch (const CVeskCPSException& e) {
        EXPECT_EQ(e.MessageId(), 135);
        const QRegularExpression shape(
            QStringLiteral("^\\n\\(CDataItem::SetAttributeValue:\\d+\\) rx_freq_ndx out of range"
                           "\\n\\(CVeskCPSDoc::OnOpenDocument:\\d+\\) Exception Catched$"));
        EXPECT_TRUE(shape.match(e.Text()).hasMatch()) << qPrintable(e.Text());
        EXPECT_EQ(QString::fromUtf8(e.what()), e.Text());
    }
}

TEST(VeskCPSException, LineIsWhereTheExceptionWasRaised) {
    const int line = __LINE__ + 1;
    const CVeskCPSException e(model_msg::kUnknownError, QStringLiteral("Op"), QStringLiteral("d"));
    EXPECT_EQ(e.Text(), QStringLiteral("\n(Op:%1) d").arg(line));
}

TEST(VeskCPSException, XmlLibraryErrorKeepsMessagePlaceAndSource) {
    const char broken[] = "<VeskProfile>\n  <channel name=\"A\"/>\n";
    xmlResetLastError();
    xmlDocPtr doc = xmlReadMemory(broken, sizeof broken - 1, "profile.xml", nullptr,
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    ASSERT_EQ(doc, nullptr);
    const CVeskCPSException e =
        CVeskCPSException::FromXmlError(model_msg::kFailedToLoadProfile, xmlGetLastError(),
                                        QStringLiteral("CRadioDataModel::LoadXML"));

    EXPECT_EQ(e.MessageId(), 136);
    const QStringList lines = e.Text().split(u'\n');
    ASSERT_EQ(lines.size(), 4) << qPrintable(e.Text());
    EXPECT_TRUE(
        lines[0].startsWith(QStringLiteral("ErrorMsg: Premature end of data in tag VeskProfile")))
        << qPrintable(lines[0]);
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Desc: line 3, column ")))
        << qPrintable(lines[1]);
    EXPECT_EQ(lines[2], QStringLiteral("Source: profile.xml"));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("(CRadioDataModel::LoadXML:")))
        << qPrintable(lines[3]);
}

TEST(VeskCPSException, MissingXmlErrorStillGivesTheThreeFields) {
    const CVeskCPSException e = CVeskCPSException::FromXmlError(131, nullptr, QStringLiteral("Op"));
    EXPECT_TRUE(
        e.Text().startsWith(QStringLiteral("ErrorMsg: unknown XML error\nDesc: \nSource: \n(Op:")))
        << qPrintable(e.Text());
}

}  // namespace
