#pragma once
// A client data set: the records of a provider on the application server,
// fetched in one call and kept in a local cache that the cursor, the
// indexes, Locate/FindKey and Edit/Post work on. Changes stay in the cache;
// writing them back is the application server's business (its own members).
//
//   TClientDataSet data(owner);
//   data.SetRemoteServer(&connection);     // or SetAppServer(sessionObject)
//   data.SetProviderName("pvdConSave");
//   data.AddIndex("Index1", "NCONDITION;CREATOR;PROGRAMME");
//   data.SetIndexName("Index1");
//   data.Open();
//   if (data.FindKey(Variant::ArrayOf({name, user, program}))) ...
//
// Open calls the application server's AS_GetRecords(providerName), which
// answers [field names, rows] (see Middleware.md, "Providers").

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/Automation.h"
#include "platform/data/DB.h"

namespace qv {

class TSocketConnection;

enum TDataSetState { dsInactive, dsBrowse, dsEdit };

// Locate options, combined with |.
enum TLocateOption : unsigned { loCaseInsensitive = 1u, loPartialKey = 2u };
using TLocateOptions = unsigned;

class TClientDataSet : public TDataSet {
  QV_OBJECT(TClientDataSet, TDataSet)

  explicit TClientDataSet(TComponent* owner);
  ~TClientDataSet() override;

  const std::string& ProviderName() const { return providerName_; }
  void SetProviderName(const std::string& name) { providerName_ = name; }
  TSocketConnection* RemoteServer() const { return remoteServer_; }
  void SetRemoteServer(TSocketConnection* server);
  // The application server object used when no RemoteServer is set (a
  // session created in the process).
  void SetAppServer(AutomationPtr server) { appServer_ = std::move(server); }

  // ---- indexes: field lists "A;B;C", ascending ----
  // Raises EDatabaseError for a name already taken.
  void AddIndex(const std::string& name, const std::string& fieldNames);
  const std::string& IndexName() const { return indexName_; }
  // "" orders the records as the provider delivered them. On an open data
  // set an unknown name raises EDatabaseError and keeps the old order.
  void SetIndexName(const std::string& name);

  TDataSetState State() const;

  // ---- the cursor over the cache, in index order ----
  void First() override;
  void Last() override;
  void Next() override;
  void Prior() override;
  bool Eof() const override { return eof_; }
  bool Bof() const override { return bof_; }
  int RecordCount() const override { return static_cast<int>(order_.size()); }
  int RecNo() const override { return position_ + 1; }
  // Adds a record to the cache only.
  void AppendRecord(const std::vector<Variant>& values) override;

  // Moves to the first record (in index order) whose fields equal the key:
  // one value for one field, else an array with one value per field. True
  // when found; otherwise the cursor stays.
  bool Locate(const std::string& fieldNames, const Variant& key, TLocateOptions options = 0);
  // Locate on the leading fields of the current index (EDatabaseError
  // when no index is selected or the key has more values than it fields).
  bool FindKey(const Variant& key);

  // Edit copies the current record; Post writes it back to the cache (the
  // record takes its place in the index order and stays current), Cancel
  // drops it. Moving the cursor posts; Close cancels.
  void Edit();
  void Post();
  void Cancel();

 protected:
  void InternalOpen() override;
  void InternalClose() override;
  Variant GetFieldValue(const TField& field) const override;
  void SetFieldValue(const TField& field, const Variant& value) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  using Row = std::vector<Variant>;
  struct IndexDef {
    std::string name;
    std::string fieldNames;
  };

  std::string Context() const;
  AutomationPtr Server();
  void LoadReply(const Variant& reply);
  void CreateFields(const Variant& names, const Variant& rows);
  void DropDynamicFields();
  std::vector<const TField*> ResolveFields(std::string_view fieldNames) const;
  const IndexDef* FindIndex(std::string_view name) const;
  void Sort();
  int CurrentRow() const;
  void MoveToRow(int row);
  void CheckBrowseMode();
  void SetCursor(int position, bool bof, bool eof);

  std::string providerName_;
  TSocketConnection* remoteServer_ = nullptr;
  AutomationPtr appServer_;
  std::vector<IndexDef> indexes_;
  std::string indexName_;
  std::vector<TField*> dynamicFields_;  // made from the provider's names
  std::vector<Row> rows_;               // by field index, as delivered
  std::vector<int> order_;              // rows_ positions in index order
  int position_ = -1;                   // into order_
  bool bof_ = true;
  bool eof_ = true;
  bool editing_ = false;
  Row editBuffer_;
};

}  // namespace qv
