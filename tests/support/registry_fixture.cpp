#include "support/registry_fixture.h"

#include <atomic>
#include <chrono>

#include "core/text.h"
#include "platform/fake/fake_registry.h"

namespace vcit {

void PrintTo(const DynamicValue& value, std::ostream* os) {
  static const char* const kinds[] = {"Empty",    "Null",  "Integer",  "Long", "Double",
                                      "Currency", "Date",  "Boolean",  "Byte", "Text",
                                      "Object",   "Array", "TextArray"};
  *os << kinds[static_cast<int>(value.kind())];
  auto quoted = [&](const std::string& s) {
    *os << " \"";
    for (const char c : s) *os << (c == '\0' ? std::string("\\0") : std::string(1, c));
    *os << "\"";
  };
  switch (value.kind()) {
    case DynamicValue::Kind::kEmpty:
    case DynamicValue::Kind::kNull:
    case DynamicValue::Kind::kObject:
      break;
    case DynamicValue::Kind::kTextArray:
      for (const auto& item : value.textArray()) quoted(item);
      break;
    case DynamicValue::Kind::kArray:
      *os << " " << value.array().rows << "x" << value.array().columns << ":";
      for (const auto& item : value.array().items) {
        *os << " ";
        PrintTo(item, os);
      }
      break;
    default:
      quoted(value.toText());
  }
}

}  // namespace vcit

namespace vcit::testing {

namespace reg = platform::reg;

std::string backendName(const ::testing::TestParamInfo<RegistryBackend>& info) {
  return info.param.name;
}

RegistryBackend fakeRegistryBackend() {
  return {"Fake", [] { return std::make_unique<platform::FakeRegistry>(); },
          [] { return std::make_unique<platform::FakeSystem>(); }};
}

void RegistryContract::SetUp() {
  registry_ = GetParam().makeRegistry();
  system_ = GetParam().makeSystem();
  static std::atomic<int> serial{0};
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info->name();
  for (char& c : name)
    if (c == '/') c = '_';
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count() % 1000000;
  base_ =
      "Software\\VCITTests\\" + name + "_" + std::to_string(stamp) + "_" + std::to_string(++serial);
  ASSERT_FALSE(exists()) << base_;
}

void RegistryContract::TearDown() {
  for (const auto h : handles_) registry_->closeKey(h);
  handles_.clear();
  registry_->shellDeleteKey(kHkcu, base_);
  EXPECT_FALSE(exists()) << "the test key stayed: " << base_;
}

std::string RegistryContract::path(const std::string& sub) const {
  return sub.empty() ? base_ : base_ + "\\" + sub;
}

void RegistryContract::makeKey(const std::string& sub) {
  handle(sub);
}

bool RegistryContract::exists(const std::string& sub) {
  reg::Key key = 0;
  if (registry_->openKey(kHkcu, path(sub), 0, reg::kKeyRead, key) != reg::kSuccess) return false;
  registry_->closeKey(key);
  return true;
}

reg::Key RegistryContract::handle(const std::string& sub, std::uint32_t access) {
  reg::Key key = 0;
  const long status = registry_->createKey(kHkcu, path(sub), "", 0, access, key);
  EXPECT_EQ(status, reg::kSuccess) << path(sub);
  if (key != 0) handles_.push_back(key);
  return key;
}

void RegistryContract::put(const std::string& sub, const std::string& name, std::uint32_t type,
                           const std::string& data) {
  EXPECT_EQ(registry_->setValue(handle(sub), name, type, data), reg::kSuccess) << name;
}

void RegistryContract::putDword(const std::string& sub, const std::string& name,
                                std::uint32_t value) {
  std::string data(4, '\0');
  for (int i = 0; i < 4; ++i) data[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  put(sub, name, reg::kTypeDword, data);
}

std::optional<platform::Registry::Queried> RegistryContract::stored(const std::string& sub,
                                                                    const std::string& name) {
  reg::Key key = 0;
  if (registry_->openKey(kHkcu, path(sub), 0, reg::kKeyRead, key) != reg::kSuccess)
    return std::nullopt;
  auto q = registry_->queryValue(key, name, true, 1 << 16);
  registry_->closeKey(key);
  if (q.status != reg::kSuccess) return std::nullopt;
  return q;
}

std::unique_ptr<RegOp> RegistryContract::op(const char* sub, std::int32_t options,
                                            platform::System* system) {
  auto r = std::make_unique<RegOp>(*registry_, system ? *system : *system_, messages);
  r->Options(options);
  if (sub) r->Key(path(sub));
  return r;
}

std::string RegistryContract::environmentVariable(const std::string& name) {
  for (int n = 1; n < 1000; ++n) {
    const std::string entry = system_->environmentEntry(n);
    if (entry.empty()) break;
    const auto eq = entry.find('=');
    if (eq != std::string::npos && text::equalsIgnoreCase(entry.substr(0, eq), name))
      return entry.substr(eq + 1);
  }
  return {};
}

}  // namespace vcit::testing
