#pragma once
// What the dialog's end-to-end tests share: a clean start (no stored form,
// no site on the desktop), the program started through the driver, and the
// registry as the program leaves it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "identity.h"
#include "system/system.h"
#include "tests/driver/driver.h"
#include "tests/support/test_site.h"

namespace trellan::driver {

inline constexpr const char* kStoreKey = kSettingsKey;

inline void ForgetStoredForm() { RegDeleteTreeA(HKEY_CURRENT_USER, kStoreKey); }

// A stored value's type and bytes; nothing when it is missing.
struct StoredValue {
  DWORD type = REG_NONE;
  std::string data;
};

inline std::optional<StoredValue> ReadStored(const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kStoreKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return std::nullopt;
  StoredValue value;
  DWORD size = 0;
  LONG status = RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size);
  if (status == ERROR_SUCCESS) {
    value.data.resize(size);
    status = RegQueryValueExA(key, name, nullptr, &value.type,
                              reinterpret_cast<BYTE*>(value.data.data()), &size);
    value.data.resize(size);
  }
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return std::nullopt;
  return value;
}

// A REG_SZ value as text, without its terminating zero.
inline std::optional<std::string> StoredText(const char* name) {
  std::optional<StoredValue> value = ReadStored(name);
  if (!value || value->type != REG_SZ || value->data.empty() || value->data.back() != '\0')
    return std::nullopt;
  value->data.pop_back();
  return value->data;
}

inline std::optional<DWORD> StoredNumber(const char* name) {
  const std::optional<StoredValue> value = ReadStored(name);
  if (!value || value->type != REG_DWORD || value->data.size() != sizeof(DWORD))
    return std::nullopt;
  DWORD number = 0;
  std::memcpy(&number, value->data.data(), sizeof number);
  return number;
}

inline void StoreText(const char* name, const std::string& text) {
  WriteRegString(HKEY_CURRENT_USER, kStoreKey, name, text);
}

inline void StoreNumber(const char* name, DWORD number) {
  WriteRegDword(HKEY_CURRENT_USER, kStoreKey, name, number);
}

// A site as an earlier run left it: the folder with its index.html.
inline void PlaceSiteOnDesktop() {
  std::string folder = test::SiteFolder();
  CreateDirectoryA(folder.c_str(), nullptr);
  test::WriteFileBytes(folder + "index.html", "<!DOCTYPE html>\r\n");
}

inline std::optional<TrellanProcess> StartTrellan() {
  return TrellanProcess::Start(PathFromEnvironment("TRELLAN_EXE"));
}

// Every test starts with no stored form and no site on the desktop; a
// program the test leaves running has its boxes answered and is ended with
// "&Ende", which must give exit code 0.
class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ForgetStoredForm();
    test::RemoveSiteFolder();
  }
  void TearDown() override {
    if (program_ && program_->IsRunning()) {
      for (const Box& box : program_->Boxes()) program_->Answer(box, box.buttons.back());
      program_->Click(IDCANCEL);
      EXPECT_EQ(program_->WaitForExit(), std::optional<DWORD>(0));
    }
    test::RemoveSiteFolder();
  }
  void Start() {
    program_ = StartTrellan();
    ASSERT_TRUE(program_) << "Trellan's dialog did not open";
  }

  std::optional<TrellanProcess> program_;
};

}  // namespace trellan::driver
