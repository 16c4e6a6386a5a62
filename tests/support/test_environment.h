// What several test worlds set up the same way: environment variables of
// the test process (inherited by the programs it starts) and the values of
// the local machine's registry that Pelixo and the device component only
// read.
#ifndef TESTS_SUPPORT_TEST_ENVIRONMENT_H_
#define TESTS_SUPPORT_TEST_ENVIRONMENT_H_

#include <string>

namespace pelixo::testing {

void SetEnvironment(const std::string& name, const std::string& value);
void ClearEnvironment(const std::string& name);

// The registry value of the local machine that tests need (Pelixo itself
// only reads there). Natively it goes into the store PELIXO_REGISTRY names.
void SetMachineString(const std::string& key, const std::string& name, const std::string& value);
void DeleteMachineKey(const std::string& key);

}  // namespace pelixo::testing

#endif  // TESTS_SUPPORT_TEST_ENVIRONMENT_H_
