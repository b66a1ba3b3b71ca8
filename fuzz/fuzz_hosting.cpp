// A hosting server's answer: a list of videos for the wall, or an object with tokens or an error,
// read as the hosting client reads it, every row of the list's model asked for every role.
#include "FuzzSupport.h"
#include "net/VideosListModel.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// Qt sets up some of its model machinery once, on first use, and keeps it: done here, before the
// leak check counts.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static const char warmUp[] = R"([{"title": "t", "presets": [1, "two", null]}, {}])";
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(warmUp), sizeof(warmUp) - 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(FuzzSupport::bytes(data, size), &error);
    if (error.error != QJsonParseError::NoError) {
        return 0;
    }
    if (!document.isArray()) {
        const QJsonObject object = document.object();
        for (const char* key : {"error", "error_description", "access_token", "refresh_token", "api_key"}) {
            (void)object.value(QLatin1String(key)).toString();
        }
        return 0;
    }
    VideosListModel model;
    model.addVideos(document.array());
    const QList<int> roles = model.roleNames().keys();
    for (int row = 0; row < model.rowCount(); ++row) {
        for (const int role : roles) {
            (void)model.data(model.index(row), role);
        }
    }
    return 0;
}
