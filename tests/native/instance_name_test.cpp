// The name by which launchers of one program folder find each other.
#include <gtest/gtest.h>

#include <string>

#include "core/instance_name.h"

namespace vcit {
namespace {

TEST(InstanceNameTest, OneNamePerFolderHoweverItIsWritten) {
  struct Case {
    const char* a;
    const char* b;
    bool same;
  };
  const Case cases[] = {
      {"C:\\Games\\VCIT", "c:\\games\\vcit", true},
      {"C:\\Games\\VCIT", "C:\\Games\\VCIT\\", true},
      {"C:\\Games\\VCIT", "C:/Games/VCIT/", true},
      {"C:\\Games\\VCIT", "\\\\?\\C:\\Games\\VCIT", true},
      {"\\\\server\\share\\vcit", "\\\\?\\UNC\\server\\share\\VCIT", true},
      {"C:\\Spiele\\ÜBER", "c:\\spiele\\über", true},
      {"Z:\\home\\Ωmega", "z:\\HOME\\ωMEGA\\", true},
      {"C:\\Games\\VCIT", "C:\\Games\\VCIT2", false},
      {"C:\\Games\\VCIT", "D:\\Games\\VCIT", false},
      {"C:\\Games\\VCIT", "C:\\Games", false},
      {"C:\\Games\\VCIT", "C:\\Games\\VCIT\\Mods", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(instanceName(c.a) == instanceName(c.b), c.same) << c.a << " | " << c.b;
    for (const std::string& name : {instanceName(c.a), instanceName(c.b)}) {
      ASSERT_TRUE(name.starts_with("Local\\")) << name;
      EXPECT_EQ(name.find('\\', 6), std::string::npos) << name;
      EXPECT_LE(name.size(), 40u) << name;
    }
  }
  const std::string deep = "C:\\" + std::string(30000, 'a');
  EXPECT_EQ(instanceName(deep).size(), instanceName("C:\\").size());
}

}  // namespace
}  // namespace vcit
