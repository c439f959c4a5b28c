#include "radio/document_image.h"

#include "model/data_item.h"
#include "model/profile_document.h"
#include "platform/vesk_cps_exception.h"
#include "platform/xml/xml_document.h"
#include "radio/data_adaptor.h"
#include "radio/virtual_cp.h"

bool NewFromImage(CProfileDocument& document, CVirtualCP& image) {
    QString text;
    try {
        if (CDataAdaptor::VirtualCP2XML(image, text, document.Prompt()) != 1) {
            return false;
        }
    } catch (const CVeskCPSException& error) {
        ShowModelException(document.Prompt(), error);
        return false;
    }
    return document.NewFromImageText(text.toUtf8());
}

void GetVirtualCPData(CProfileDocument& document, CVirtualCP& image, const CRadioInfo& radio) {
    try {
        document.TransmitAsReceiveWithoutRepeater();
        // The working document, not the saved form: the radio gets the fields of the newest
        // codeplug version too, with the values the editor shows for them.
        CDataAdaptor::XML2VirtualCP(document.Model().WorkingDocument().ToXml(), image, radio);
    } catch (CVeskCPSException& error) {
        error.AddContext(QStringLiteral("CVeskCPSDoc::GetVirtualCPData"),
                         QStringLiteral("Exception Caught"));
        throw;
    }
}

bool SetVirtualCPData(CProfileDocument& document, CVirtualCP& image) {
    try {
        QString text;
        if (CDataAdaptor::VirtualCP2XML(image, text, document.Prompt()) != 1) {
            return false;
        }
        QByteArray bytes = text.toUtf8();
        CDataItem::ProcessChannelName(bytes);
        return document.Model().LoadProfileText(QString::fromUtf8(bytes),
                                                QStringLiteral("(radio)"));
    } catch (CVeskCPSException& error) {
        error.PassOn(QStringLiteral("CVeskCPSDoc::SetVirtualCPData"));
        throw;
    }
}
