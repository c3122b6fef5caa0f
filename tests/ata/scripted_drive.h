// A drive whose one hardware call is a script: it records every command it
// is handed (registers, protocol, buffer and its bytes at that moment) and
// answers from a queue of replies, or with a clean status when the queue is
// empty.
#pragma once

#include <cstring>
#include <deque>
#include <vector>

#include "ata/ata_drive.h"

namespace tessel::test_support {

struct Reply {
  std::uint8_t status = 0x50;
  std::uint16_t error = 0;
  std::uint16_t count = 0;
  std::uint16_t lbaLow = 0;
  std::uint16_t lbaMid = 0;
  std::uint16_t lbaHigh = 0;
  std::vector<std::uint8_t> data;  // copied into the buffer of a data-in
};

struct Sent {
  AtaProtocol protocol;
  Taskfile taskfile;
  const std::uint8_t* buffer;
  std::uint32_t size;
  std::vector<std::uint8_t> bytes;  // the buffer as the transport got it
};

class ScriptedDrive : public AtaDrive {
 public:
  void ExecuteCommand(AtaProtocol protocol, Taskfile& taskfile,
                      std::uint8_t* buffer, std::uint32_t size) override {
    Sent record{protocol, taskfile, buffer, size, {}};
    if (buffer != nullptr) record.bytes.assign(buffer, buffer + size);
    sent.push_back(record);
    Reply reply;
    if (!replies.empty()) {
      reply = replies.front();
      replies.pop_front();
    }
    if (buffer != nullptr && !reply.data.empty()) {
      std::memcpy(buffer, reply.data.data(),
                  std::min<std::size_t>(size, reply.data.size()));
    }
    taskfile.outStatus = reply.status;
    taskfile.outError = reply.error;
    taskfile.outCount = reply.count;
    taskfile.outLbaLow = reply.lbaLow;
    taskfile.outLbaMid = reply.lbaMid;
    taskfile.outLbaHigh = reply.lbaHigh;
    SetLastTaskfile(taskfile);
  }

  // Fills the IDENTIFY cache with `identify` and forgets the command.
  void PrimeIdentify(std::vector<std::uint8_t> identify) {
    replies.push_front(Reply{.data = std::move(identify)});
    RefreshIdentify();
    sent.clear();
  }

  std::deque<Reply> replies;
  std::vector<Sent> sent;
};

}  // namespace tessel::test_support
