// libcurl brings winsock2.h, which must come before windows.h.
#include <curl/curl.h>

#include "launcher/services/data_collector.h"

#include <cstdio>

#include "errorlog/error_log.h"
#include "launcher/services/adapter_address.h"
#include "launcher/services/log.h"
#include "launcher/services/usage_http_post.h"
#include "launcher/services/usage_report.h"

#ifndef VELMORA_STATS_URL
#error "VELMORA_STATS_URL must name the statistics endpoint"
#endif

namespace {
void Trace(const wchar_t* text) {
    if (g_log) g_log->Write(LOG_INTER, text, true);
}
}  // namespace

CDataCollector::CDataCollector()
    : CDataCollector(VELMORA_STATS_URL, [](std::string& address) { return usage::QueryFirstAdapterAddress(address); }) {}

CDataCollector::CDataCollector(std::string endpoint, AddressSource addressSource)
    : endpoint_(std::move(endpoint)),
      addressSource_(std::move(addressSource)),
      worker_(L"usage statistics", [](const std::wstring& text) { Trace(text.c_str()); }) {
    const CURLcode result = curl_global_init(CURL_GLOBAL_ALL);
    if (result != CURLE_OK) std::fprintf(stderr, "curl_global_init() failed: %s\n", curl_easy_strerror(result));
}

CDataCollector::~CDataCollector() {
    StopCollector();  // a no-op when the owner already stopped it
    curl_global_cleanup();
}

bool CDataCollector::StartCollector() {
    if (worker_.Owned()) return true;
    Trace(L"dcollcpp:jianshi bg thred\n");
    const bool started = worker_.Start([this](const win32::StopSignal& stop) { ExeCollector(stop); });
    Trace(L"dcollcpp:all over\n");
    return started;
}

bool CDataCollector::AddUsageRecord() { return AddFeatureRecord(SOFTWARE_ID); }

bool CDataCollector::AddFeatureRecord(int32_t featureId) {
    services::CriticalSectionLock lock(queueLock_);
    queue_.push_back(featureId);
    return true;
}

void CDataCollector::StopCollector() {
    worker_.StopAndJoin();
    services::CriticalSectionLock lock(queueLock_);
    queue_.clear();
}

size_t CDataCollector::QueuedCount() {
    services::CriticalSectionLock lock(queueLock_);
    return queue_.size();
}

bool CDataCollector::GetMacAddress() {
    try {
        return addressSource_ && addressSource_(address_);
    } catch (...) {
        Trace(L"get mac error,catch it\n");
        return false;
    }
}

void CDataCollector::ExeCollector(const win32::StopSignal& stop) {
    if (!GetMacAddress()) {
        address_ = usage::kFallbackAddress;
        Trace(L"get mac err\n");
    }
    check_ = usage::CheckValue(address_);
    while (!stop.Requested()) {
        bool taken = false;
        int32_t featureId = 0;
        {
            services::CriticalSectionLock lock(queueLock_);
            if (!queue_.empty()) {
                featureId = queue_.front();
                queue_.pop_front();
                taken = true;
            }
        }
        if (taken) {
            if (PostUsageRecord(featureId)) {
                ++accepted_;
            } else {
                ++failed_;
                if (genericLogCheckLevel(Util::Log::Detail)) {  // level 7
                    Util::Log::Guard guard(Util::Log::Detail, "TessikUI", "DataCollector", 122);
                    guard << "CDataCollector::ExeCollector" << "用户是用记录添加失败";
                }
            }
        }
        stop.WaitFor(kWorkerPauseMs);
    }
}

bool CDataCollector::PostUsageRecord(int32_t featureId) {
    const std::string body = usage::BuildBody(featureId, address_, check_);
    Trace(L"post begin\n");
    std::string response;
    usage::HttpPostForm(endpoint_, body, response);
    Trace(L"post end\n");
    return usage::IsAccepted(response);
}
