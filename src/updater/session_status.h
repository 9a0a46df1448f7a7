#pragma once

#include <QString>

#include <optional>

namespace vexo {

// The stages a transfer passes, numbered as the status line knows them.
enum SessionStage : int {
    StageResolving = 10,
    StageResolved = 11,
    StageConnecting = 20,
    StageConnected = 21,
    StageSending = 30,
    StageSent = 31,
    StageReceiving = 40,
    StageReceived = 41,
    StageControlReceived = 42,
    StagePrefetch = 43,
    StageClosing = 50,
    StageClosed = 51,
    StageHandleCreated = 60,
    StageHandleClosing = 70,
    StageComplete = 100,
    StageRedirect = 110,
};

// The status line's text for a stage; nothing for a created handle, which leaves the line as it is.
std::optional<QString> sessionStatusText(int stage);

// The text of an error number: empty for 0, otherwise "İnternet hatası " and the number.
QString INETERRORMSG(int error);

} // namespace vexo
