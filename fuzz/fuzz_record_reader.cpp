// The record reader on any text: it must end in a value or a StoreError, never in a crash.
#include <cstddef>
#include <cstdint>
#include <string>

#include "store/cp932.h"
#include "store/numbers.h"
#include "store/record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte chooses the field types to read, two bits a field.
  const uint8_t pattern = data[0];
  std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string text;
  try {
    text = store::cp932ToUtf8(bytes);
  } catch (const store::EncodingError&) {
    text = bytes;  // read the raw bytes as text as well
  }
  store::RecordReader r("fuzz.txt", text);
  try {
    for (int field = 0; !r.atEnd(); ++field) {
      switch ((pattern >> (2 * (field % 4))) & 3) {
        case 0: r.readText(); break;
        case 1: r.readSingle(); break;
        case 2: r.readInt16(); break;
        default: r.readDouble(); break;
      }
    }
  } catch (const store::StoreError&) {
  }
  store::Val(text);
  try {
    store::utf8ToCp932(text);
  } catch (const store::EncodingError&) {
  }
  return 0;
}
