// The values of the local machine's registry that Pelixo and the device
// component only read, as several test worlds set them up.
#ifndef TESTS_SUPPORT_TEST_ENVIRONMENT_H_
#define TESTS_SUPPORT_TEST_ENVIRONMENT_H_

#include <string>

namespace tests_support {

// The registry value of the local machine that tests need (Pelixo itself
// only reads there). Natively it goes into the store PELIXO_REGISTRY names.
void SetMachineString(const std::string& key, const std::string& name, const std::string& value);
void DeleteMachineKey(const std::string& key);

// The settings every program run of a test shares: message boxes printed on
// stderr, natively a registry store of the test's own in `folder`, and no
// write made to fail.
void PrivateSettings(const std::string& folder);

}  // namespace tests_support

#endif  // TESTS_SUPPORT_TEST_ENVIRONMENT_H_
