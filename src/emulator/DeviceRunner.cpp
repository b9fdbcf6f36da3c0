#include "emulator/DeviceRunner.h"

#include <algorithm>
#include <functional>
#include <limits>

cDeviceRunner::cDeviceRunner(cTavDevice& Device, tSendFunction Send, tLineFunction PrintLine,
                             tWireOptions Wire)
    : Device(Device), Send(std::move(Send)), PrintLine(std::move(PrintLine)) {
    if (Wire.BaudRate != 0) {
        ToDevice.emplace(Wire.BaudRate, Wire.BufferSize);
        FromDevice.emplace(Wire.BaudRate, 0);  // the device's own replies are never lost
    }
    Thread = std::thread(&cDeviceRunner::Run, this);
}

void cDeviceRunner::PostMessage(const uint8_t* pucMessage, size_t uiLength) {
    tIncoming Message{std::vector<uint8_t>(pucMessage, pucMessage + uiLength), tClock::now()};
    {
        const std::lock_guard<std::mutex> Lock(Mutex);
        if (Stopping) {
            return;
        }
        Inbox.push_back(std::move(Message));
    }
    WorkArrived.notify_one();
}

void cDeviceRunner::Stop() {
    {
        const std::lock_guard<std::mutex> Lock(Mutex);
        Stopping = true;
    }
    WorkArrived.notify_one();
    if (Thread.joinable()) {
        Thread.join();
    }
}

void cDeviceRunner::Run() {
    for (;;) {
        for (tIncoming& Message : WaitForWork()) {
            Take(std::move(Message));
        }
        CatchUp(tClock::now());
        const std::lock_guard<std::mutex> Lock(Mutex);
        if (Stopping) {
            return;
        }
    }
}

// Sleeps until a message arrives, the next event on the wires or among the replies falls due,
// or Stop.
std::vector<cDeviceRunner::tIncoming> cDeviceRunner::WaitForWork() {
    std::vector<tIncoming> Messages;
    std::unique_lock<std::mutex> Lock(Mutex);
    const auto HasWork = [this] { return Stopping || !Inbox.empty(); };
    const std::optional<tClock::time_point> Next = NextEvent();
    if (Next) {
        WorkArrived.wait_until(Lock, *Next, HasWork);
    } else {
        WorkArrived.wait(Lock, HasWork);
    }
    Messages.swap(Inbox);
    return Messages;
}

std::optional<cDeviceRunner::tClock::time_point> cDeviceRunner::NextEvent() const {
    std::optional<tClock::time_point> Next;
    const auto Consider = [&Next](tClock::time_point At) {
        if (!Next || At < *Next) {
            Next = At;
        }
    };
    if (!Crossing.empty()) {
        Consider(Crossing.front().Across);
    }
    if (!PendingReplies.empty()) {
        Consider(PendingReplies.front().Due);
    }
    if (!Leaving.empty()) {
        Consider(Leaving.front().Across);
    }
    return Next;
}

// A delivery goes to the device at once, or onto the wire toward it.
void cDeviceRunner::Take(tIncoming Delivery) {
    if (!ToDevice) {
        Deliver(Delivery.MessageBytes, Delivery.Arrival);
        return;
    }
    const cMidiWire::tCrossing Wire =
        ToDevice->Carry(Delivery.Arrival, Delivery.MessageBytes.size());
    Delivery.MessageBytes.resize(Wire.Kept);
    Crossing.push_back({std::move(Delivery.MessageBytes), Wire.Lost, Wire.Across});
}

// Everything due by Now, in the order it fell due: bytes that crossed reach the device, replies
// leave or go onto the wire back, replies that crossed it leave.
void cDeviceRunner::CatchUp(tClock::time_point Now) {
    for (std::optional<tClock::time_point> Next = NextEvent(); Next && *Next <= Now;
         Next = NextEvent()) {
        if (!Crossing.empty() && Crossing.front().Across == *Next) {
            const tCrossingBytes Crossed = std::move(Crossing.front());
            Crossing.pop_front();
            Deliver(Crossed.Bytes, Crossed.Across);
            if (Crossed.LostBytes != 0) {
                Device.NoteWireLoss(static_cast<uint32_t>(
                    std::min<size_t>(Crossed.LostBytes, std::numeric_limits<uint32_t>::max())));
            }
        } else if (!PendingReplies.empty() && PendingReplies.front().Due == *Next) {
            std::pop_heap(PendingReplies.begin(), PendingReplies.end(), std::greater<>());
            tPendingReply Reply = std::move(PendingReplies.back());
            PendingReplies.pop_back();
            Answer(std::move(Reply));
        } else {
            Send(Leaving.front().MessageBytes);
            Leaving.pop_front();
        }
    }
}

void cDeviceRunner::Deliver(const std::vector<uint8_t>& aucBytes, tClock::time_point Arrival) {
    for (const std::vector<uint8_t>& Message : Splitter.Add(aucBytes)) {
        const tDeviceResponse Response = Device.ReceiveMessage(Message.data(), Message.size());
        for (const std::string& Line : Response.ReportLines) {
            PrintLine(Line);
        }
        for (const tDeviceReply& Reply : Response.Replies) {
            PendingReplies.push_back(
                {Arrival + std::chrono::milliseconds(Reply.DelayMs), NextOrder++, Reply.Message});
            std::push_heap(PendingReplies.begin(), PendingReplies.end(), std::greater<>());
        }
    }
}

// A reply that falls due leaves, or first crosses the wire back, after the replies before it.
void cDeviceRunner::Answer(tPendingReply Reply) {
    if (!FromDevice) {
        Send(Reply.MessageBytes);
        return;
    }
    const tClock::time_point Across =
        FromDevice->Carry(Reply.Due, Reply.MessageBytes.size()).Across;
    Leaving.push_back({Across, std::move(Reply.MessageBytes)});
}
