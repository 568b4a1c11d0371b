#pragma once
// What the tests of the registry list scans share: a recording scan host, private registry trees
// standing for HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER, and a private folder holding the Windows
// folder and the special folders the scans ask for.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "checker/scanners/ListScanSystem.h"
#include "checker/scanners/Registry.h"
#include "support/registry.h"
#include "support/testing.h"

// Records rows and message pumps in the order they happen: 'r' a row, 'p' a pump.
class RecordingHost : public ScanHost {
 public:
  ScanEnvironment environment;
  std::vector<ScanResultRow> rows;
  std::string events;

  void AddRow(const ScanResultRow& row) override {
    rows.push_back(row);
    events.push_back('r');
  }
  void ShowStatus(const std::wstring&) override {}
  void ProcessMessages() override { events.push_back('p'); }
  bool Scanning() const override { return true; }
  void RaisePendingScans() override {}
  void LowerPendingScans() override {}
  const ScanEnvironment& Environment() const override { return environment; }
};

class ListScanTest : public ::testing::Test {
 protected:
  ListScanTest();
  ~ListScanTest() override;

  // Keys and values below the tree standing for HKEY_LOCAL_MACHINE / HKEY_CURRENT_USER, by
  // their real paths ("Software\\...").
  const testing_support::TestKey& Machine() const { return machine_; }
  const testing_support::TestKey& User() const { return user_; }
  // A file (with its folders) below the private folder; returns its full path.
  std::wstring MakeFile(const std::wstring& relative) const;
  std::wstring MakeFolder(const std::wstring& relative) const;
  std::wstring PathOf(const std::wstring& relative) const { return folder_.File(relative); }
  // Where GetSpecialFolder finds a CSIDL; unmapped ones cannot be obtained (empty path).
  void MapSpecialFolder(int csidl, const std::wstring& path) { special_[csidl] = path; }
  // Drive types by root ("E:\\"); every root not named is the real system's.
  void DriveTypes(const std::map<std::wstring, unsigned>& types);
  // An environment variable of the test process, set for the life of the fixture (its value
  // before comes back at the end).
  void SetVariable(const std::wstring& name, const std::wstring& value);

  RecordingHost host_;
  ListScanSystem system_;

 private:
  std::vector<std::pair<std::wstring, std::optional<std::wstring>>> variables_;
  testing_support::TestKey machine_, user_;
  registry::Key machineKey_, userKey_;
  testing_support::TempFolder folder_;
  std::map<int, std::wstring> special_;
};

// A key below `parent` whose name the system's code page cannot spell: it is listed with a "?"
// and never opens through the ANSI functions.
void MakeUnspellableKey(const testing_support::TestKey& tree, const std::wstring& parent);

using Rows = std::vector<ScanResultRow>;
// A row as test failures show it.
void PrintTo(const ScanResultRow& row, std::ostream* out);
// Rows in an order of their own: the registry enumerates values in no promised order.
Rows Sorted(Rows rows);

ScanResultRow MachineRow(const std::wstring& location, const std::wstring& keyName,
                         const std::wstring& description, int image = 0);
ScanResultRow UserRow(const std::wstring& location, const std::wstring& description);
