#include "service/http_poster_settings.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace nfp {
namespace {

// Sets or clears the two variables for one test and puts them back after.
class ServiceEnvironment : public ::testing::Test {
protected:
    void TearDown() override {
        ::unsetenv("NFP_ENDPOINT");
        ::unsetenv("NFP_CA_BUNDLE");
    }
};

TEST_F(ServiceEnvironment, DefaultsToTheStatesEndpointAndTheSystemsCertificates) {
    ::unsetenv("NFP_ENDPOINT");
    ::unsetenv("NFP_CA_BUNDLE");
    const HttpPosterSettings s = ServiceSettingsFromEnvironment();
    EXPECT_EQ(s.endpoint, "https://www.nfp.fazenda.sp.gov.br/ws/arquivocf.asmx");
    EXPECT_FALSE(s.caBundle.has_value());
    EXPECT_EQ(s.connectTimeout, std::chrono::seconds(60));
    EXPECT_EQ(s.stallTimeout, std::chrono::seconds(60));
}

TEST_F(ServiceEnvironment, VariablesReplaceEndpointAndCertificates) {
    ::setenv("NFP_ENDPOINT", "https://127.0.0.1:8443/ws/arquivocf.asmx", 1);
    ::setenv("NFP_CA_BUNDLE", "/tmp/ca.pem", 1);
    const HttpPosterSettings s = ServiceSettingsFromEnvironment();
    EXPECT_EQ(s.endpoint, "https://127.0.0.1:8443/ws/arquivocf.asmx");
    EXPECT_EQ(s.caBundle, "/tmp/ca.pem");
}

TEST_F(ServiceEnvironment, EmptyVariablesKeepTheDefaults) {
    ::setenv("NFP_ENDPOINT", "", 1);
    ::setenv("NFP_CA_BUNDLE", "", 1);
    const HttpPosterSettings s = ServiceSettingsFromEnvironment();
    EXPECT_EQ(s.endpoint, "https://www.nfp.fazenda.sp.gov.br/ws/arquivocf.asmx");
    EXPECT_FALSE(s.caBundle.has_value());
}

} // namespace
} // namespace nfp
