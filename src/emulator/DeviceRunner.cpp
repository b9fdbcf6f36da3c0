#include "emulator/DeviceRunner.h"

#include <algorithm>
#include <functional>

cDeviceRunner::cDeviceRunner(cTavDevice& Device, tSendFunction Send, tLineFunction PrintLine)
    : Device(Device), Send(std::move(Send)), PrintLine(std::move(PrintLine)) {
    Thread = std::thread(&cDeviceRunner::Run, this);
}

void cDeviceRunner::PostMessage(const uint8_t* pucMessage, size_t uiLength) {
    tIncoming Message{std::vector<uint8_t>(pucMessage, pucMessage + uiLength), tClock::now()};
    {
        const std::lock_guard<std::mutex> Lock(Mutex);
        if (bStopping) {
            return;
        }
        Inbox.push_back(std::move(Message));
    }
    WorkArrived.notify_one();
}

void cDeviceRunner::Stop() {
    {
        const std::lock_guard<std::mutex> Lock(Mutex);
        bStopping = true;
    }
    WorkArrived.notify_one();
    if (Thread.joinable()) {
        Thread.join();
    }
}

void cDeviceRunner::Run() {
    for (;;) {
        const std::vector<tIncoming> Messages = WaitForWork();
        for (const tIncoming& Message : Messages) {
            Handle(Message);
        }
        const std::lock_guard<std::mutex> Lock(Mutex);
        if (bStopping) {
            return;
        }
    }
}

// Sleeps until a message arrives, the earliest reply falls due, or Stop; sends what is due.
std::vector<cDeviceRunner::tIncoming> cDeviceRunner::WaitForWork() {
    std::vector<tIncoming> Messages;
    {
        std::unique_lock<std::mutex> Lock(Mutex);
        const auto HasWork = [this] { return bStopping || !Inbox.empty(); };
        if (PendingReplies.empty()) {
            WorkArrived.wait(Lock, HasWork);
        } else {
            WorkArrived.wait_until(Lock, PendingReplies.front().Due, HasWork);
        }
        Messages.swap(Inbox);
    }
    SendDueReplies();
    return Messages;
}

void cDeviceRunner::Handle(const tIncoming& Delivery) {
    for (const std::vector<uint8_t>& Message : Splitter.Add(Delivery.aucMessage)) {
        const tDeviceResponse Response = Device.ReceiveMessage(Message.data(), Message.size());
        for (const std::string& Line : Response.ReportLines) {
            PrintLine(Line);
        }
        for (const tDeviceReply& Reply : Response.Replies) {
            PendingReplies.push_back({Delivery.Arrival + std::chrono::milliseconds(Reply.uiDelayMs),
                                      uiNextOrder++, Reply.aucMessage});
            std::push_heap(PendingReplies.begin(), PendingReplies.end(), std::greater<>());
        }
    }
    SendDueReplies();
}

void cDeviceRunner::SendDueReplies() {
    while (!PendingReplies.empty() && PendingReplies.front().Due <= tClock::now()) {
        std::pop_heap(PendingReplies.begin(), PendingReplies.end(), std::greater<>());
        Send(PendingReplies.back().aucMessage);
        PendingReplies.pop_back();
    }
}
