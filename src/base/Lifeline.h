// Lifeline: how a reference reaches an object that may be destroyed while the
// reference lives on (a token leaves the net while variables, constants and
// characteristics still name it). The object holds its lifeline and cuts it
// when it dies; references hold the lifeline, never the bare object. A cut
// lifeline stays while references remain and says what the object was called.
// Thread rule: used by the one thread that owns the object (the count is a plain int).
#pragma once

#include <string>
#include <utility>

class CBaseObject;

class Lifeline {
 public:
  // A counted hold on a lifeline (null when default-made); the last one frees it.
  class Ref {
   public:
    Ref() = default;
    explicit Ref(Lifeline* lifeline) : lifeline_(lifeline) {
      if (lifeline_ != nullptr) ++lifeline_->holders_;
    }
    Ref(const Ref& other) : Ref(other.lifeline_) {}
    Ref(Ref&& other) noexcept : lifeline_(std::exchange(other.lifeline_, nullptr)) {}
    Ref& operator=(Ref other) noexcept {
      std::swap(lifeline_, other.lifeline_);
      return *this;
    }
    ~Ref() {
      if (lifeline_ != nullptr && --lifeline_->holders_ == 0) delete lifeline_;
    }
    Lifeline* get() const { return lifeline_; }
    Lifeline* operator->() const { return lifeline_; }
    explicit operator bool() const { return lifeline_ != nullptr; }

   private:
    Lifeline* lifeline_ = nullptr;
  };

  // A lifeline for `object`, held by the returned Ref.
  static Ref make(CBaseObject& object) { return Ref(new Lifeline(object)); }
  Lifeline(const Lifeline&) = delete;
  Lifeline& operator=(const Lifeline&) = delete;

  // The object, or null once it has been destroyed.
  CBaseObject* object() const { return object_; }
  // The name the object's owner last gave (for messages after the cut).
  const std::string& name() const { return name_; }
  void setName(std::string name) { name_ = std::move(name); }
  // Called by the dying object: object() is null from now on.
  void cut() { object_ = nullptr; }

 private:
  explicit Lifeline(CBaseObject& object) : object_(&object) {}

  CBaseObject* object_;
  std::string name_;
  int holders_ = 0;
};
