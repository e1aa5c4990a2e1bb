// The JNIEnv functions that a launcher needs, each recording its call, and the
// table that holds them among traps.

#include <chrono>
#include <cstdarg>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>

#include "call.h"
#include "record.h"
#include "system.h"
#include "text.h"
#include "traps.h"

namespace zep::jvm_double {
namespace {

constexpr std::string_view kStringClass = "java/lang/String";
constexpr std::string_view kMainName = "main";
constexpr std::string_view kMainSignature = "([Ljava/lang/String;)V";
constexpr std::string_view kLaunchedAgainName = "launchedAgain";
constexpr std::string_view kLaunchedAgainSignature = "(Ljava/lang/String;[Ljava/lang/String;)V";
// Beyond this a real machine runs out of heap; the double would run out of memory.
constexpr jsize kLargestArray = 1 << 20;

template <typename Handle>
Handle handleOf(Object& object) {
    return reinterpret_cast<Handle>(&object);
}

// An exception that a test asked for names its switch, so that a test can tell
// it from one the double raised on its own.
void raiseForSwitch(Machine& vm, std::string_view switchName) {
    vm.raise("zeptest.DoubleException: " + std::string(switchName));
}

jthrowable JNICALL exceptionOccurred(JNIEnv* env) {
    Call call(env, "ExceptionOccurred", Call::WhilePending::Allowed);
    const Object* pending = call.vm.pending();
    record(pending != nullptr ? "ExceptionOccurred pending" : "ExceptionOccurred none");
    return pending != nullptr ? handleOf<jthrowable>(const_cast<Object&>(*pending)) : nullptr;
}

void JNICALL exceptionDescribe(JNIEnv* env) {
    Call call(env, "ExceptionDescribe", Call::WhilePending::Allowed);
    record("ExceptionDescribe");
    if (const Object* pending = call.vm.pending()) {
        writeStandardError("Exception in thread \"" + call.vm.threadName() + "\" " + pending->name + "\n");
        call.vm.clearPending();
    }
}

void JNICALL exceptionClear(JNIEnv* env) {
    Call call(env, "ExceptionClear", Call::WhilePending::Allowed);
    record("ExceptionClear");
    call.vm.clearPending();
}

jclass JNICALL findClass(JNIEnv* env, const char* name) {
    Call call(env, "FindClass");
    if (name == nullptr) call.badHandle();
    const std::string_view text(name);
    record("FindClass " + escape(text));
    // Every class other than String stands for the program's main class.
    const bool isString = text == kStringClass;
    if (!isString && call.switches.findClass) {
        raiseForSwitch(call.vm, "findclass");
        return nullptr;
    }
    // JNI names classes with slashes; a JVM finds no class by its dotted name.
    if (text.empty() || text.find('.') != std::string_view::npos) {
        call.vm.raise("java.lang.NoClassDefFoundError: " + escape(text));
        return nullptr;
    }
    Object& found = call.vm.make(Kind::Class);
    found.name = text;
    if (!isString && call.switches.findClassPending) raiseForSwitch(call.vm, "findclass-pending");
    return handleOf<jclass>(found);
}

jstring JNICALL newStringUtf(JNIEnv* env, const char* bytes) {
    Call call(env, "NewStringUTF");
    if (bytes == nullptr) call.badHandle();
    record("NewStringUTF " + escape(bytes));
    Object& string = call.vm.make(Kind::String);
    string.units = decodeModifiedUtf8(bytes);
    return handleOf<jstring>(string);
}

jstring JNICALL newString(JNIEnv* env, const jchar* units, jsize length) {
    Call call(env, "NewString");
    if (length < 0 || (units == nullptr && length > 0)) call.badHandle();
    std::u16string text;
    for (jsize i = 0; i < length; ++i) text.push_back(static_cast<char16_t>(units[i]));
    record("NewString length=" + std::to_string(length) + " units=" + hexUnits(text));
    if (call.switches.newString) {
        raiseForSwitch(call.vm, "newstring");
        return nullptr;
    }
    Object& string = call.vm.make(Kind::String);
    string.units = std::move(text);
    return handleOf<jstring>(string);
}

// The double's arrays hold strings only, which is all a launcher puts in one:
// anything else given as an element is refused as a bad handle.
jobjectArray JNICALL newObjectArray(JNIEnv* env, jsize length, jclass elementClass, jobject initialElement) {
    Call call(env, "NewObjectArray");
    Object& element = call.require(elementClass, Kind::Class);
    Object* initial = call.requireOrNull(initialElement, Kind::String);
    record("NewObjectArray length=" + std::to_string(length) + " class=" + escape(element.name) +
           " init=" + (initial != nullptr ? escape(encodeUtf8(initial->units)) : ""));
    if (call.switches.array) {
        raiseForSwitch(call.vm, "array");
        return nullptr;
    }
    if (length < 0) {
        call.vm.raise("java.lang.NegativeArraySizeException: " + std::to_string(length));
        return nullptr;
    }
    if (length > kLargestArray) {
        call.vm.raise("java.lang.OutOfMemoryError: Java heap space");
        return nullptr;
    }
    Object& array = call.vm.make(Kind::Array);
    array.elementClass = &element;
    array.elements.assign(static_cast<std::size_t>(length), initial);
    // With no element there is no SetObjectArrayElement to fail in.
    if (length == 0 && call.switches.arrayException) raiseForSwitch(call.vm, "array-exception");
    return handleOf<jobjectArray>(array);
}

void JNICALL setObjectArrayElement(JNIEnv* env, jobjectArray arrayHandle, jsize index, jobject value) {
    Call call(env, "SetObjectArrayElement");
    Object& array = call.require(arrayHandle, Kind::Array);
    Object* element = call.requireOrNull(value, Kind::String);
    record("SetObjectArrayElement index=" + std::to_string(index));
    const auto length = static_cast<jsize>(array.elements.size());
    if (index < 0 || index >= length) {
        call.vm.raise("java.lang.ArrayIndexOutOfBoundsException: Index " + std::to_string(index) +
                      " out of bounds for length " + std::to_string(length));
        return;
    }
    array.elements[static_cast<std::size_t>(index)] = element;
    if (index == length - 1 && call.switches.arrayException) raiseForSwitch(call.vm, "array-exception");
}

jmethodID JNICALL getStaticMethodId(JNIEnv* env, jclass classHandle, const char* name, const char* signature) {
    Call call(env, "GetStaticMethodID");
    Object& owner = call.require(classHandle, Kind::Class);
    if (name == nullptr || signature == nullptr) call.badHandle();
    record("GetStaticMethodID class=" + escape(owner.name) + " name=" + escape(name) + " sig=" + escape(signature));
    if (call.switches.method) {
        raiseForSwitch(call.vm, "method");
        return nullptr;
    }
    // Each main class has exactly one static method, the entry point, and,
    // when a test asks for it, the one a later start of the program calls.
    const bool isMain = name == kMainName && signature == kMainSignature;
    const bool isLaunchedAgain =
        call.switches.launchedAgain && name == kLaunchedAgainName && signature == kLaunchedAgainSignature;
    if (owner.name == kStringClass || !(isMain || isLaunchedAgain)) {
        call.vm.raise("java.lang.NoSuchMethodError: " + escape(name));
        return nullptr;
    }
    Method& method = call.vm.makeMethod(owner, name, signature);
    if (call.switches.methodPending) raiseForSwitch(call.vm, "method-pending");
    return reinterpret_cast<jmethodID>(&method);
}

// The checks that come before the arguments are read: only the method says how
// many there are.
const Method& staticMethod(const Call& call, jclass classHandle, jmethodID id) {
    const Object& owner = call.require(classHandle, Kind::Class);
    const Method& method = call.requireMethod(id);
    if (method.owner != &owner) call.badHandle();
    return method;
}

bool takesDirectory(const Method& method) { return method.name == kLaunchedAgainName; }

std::string unitsOrNull(const Object* string) {
    return string != nullptr ? "units=" + hexUnits(string->units) : std::string("null");
}

// The call's lines: the method and the length of its String[], then its
// working directory for launchedAgain, then the array's elements.
void recordCall(const Method& method, const Object* directory, const Object* array) {
    record("CallStaticVoidMethod class=" + escape(method.owner->name) +
           " method=" + escape(method.name + method.signature) +
           " args=" + (array != nullptr ? std::to_string(array->elements.size()) : "null"));
    if (takesDirectory(method)) record("directory " + unitsOrNull(directory));
    if (array == nullptr) return;
    for (std::size_t i = 0; i < array->elements.size(); ++i)
        record("arg[" + std::to_string(i) + "] " + unitsOrNull(array->elements[i]));
}

void runLaunchedAgain(Call& call) {
    if (const auto wait = call.switches.launchedAgainWaitMs) {
        // As a program that takes its time: other threads go on meanwhile.
        call.release();
        std::this_thread::sleep_for(std::chrono::milliseconds(*wait));
        record("launchedAgain waited " + std::to_string(*wait));
        call.reacquire();
        // A machine destroyed meanwhile took the call's objects with it.
        if (!call.vm.alive()) return;
    }
    if (call.switches.launchedAgainThrows) raiseForSwitch(call.vm, "launched-again-throws");
}

// `first` is the String[] of main, or launchedAgain's working directory,
// which `second` then follows as the String[].
void runStatic(Call& call, const Method& method, jobject first, jobject second) {
    const bool withDirectory = takesDirectory(method);
    const Object* directory = withDirectory ? call.requireOrNull(first, Kind::String) : nullptr;
    const Object* array = call.requireOrNull(withDirectory ? second : first, Kind::Array);
    recordCall(method, directory, array);
    if (withDirectory) {
        runLaunchedAgain(call);
        return;
    }
    if (call.switches.lateLoad) record(loadLateLibrary());
    if (call.switches.mainExit) {
        // System.exit: exit handlers run and libraries unload, unlike a crash.
        call.release();
        std::exit(*call.switches.mainExit);
    }
    if (call.switches.mainThrows) raiseForSwitch(call.vm, "main-throws");
}

// The three variants record the same lines: which one a launcher uses is its own business.
void JNICALL callStaticVoidMethodV(JNIEnv* env, jclass classHandle, jmethodID id, va_list arguments) {
    Call call(env, "CallStaticVoidMethod");
    const Method& method = staticMethod(call, classHandle, id);
    // Only as many arguments as the method has may be read.
    const jobject first = va_arg(arguments, jobject);
    const jobject second = takesDirectory(method) ? va_arg(arguments, jobject) : nullptr;
    runStatic(call, method, first, second);
}

void JNICALL callStaticVoidMethod(JNIEnv* env, jclass classHandle, jmethodID id, ...) {
    va_list arguments;
    va_start(arguments, id);
    callStaticVoidMethodV(env, classHandle, id, arguments);
    va_end(arguments);
}

void JNICALL callStaticVoidMethodA(JNIEnv* env, jclass classHandle, jmethodID id, const jvalue* arguments) {
    Call call(env, "CallStaticVoidMethod");
    const Method& method = staticMethod(call, classHandle, id);
    if (arguments == nullptr) call.badHandle();
    runStatic(call, method, arguments[0].l, takesDirectory(method) ? arguments[1].l : nullptr);
}

// --- what a launcher asks of an exception to describe it ---------------------
// An exception's toString is its description and its stack one frame, in the
// main method; a string's toString is itself.

constexpr std::string_view kFrame = "zeptest.Main.main(Main.java:7)";

jboolean JNICALL exceptionCheck(JNIEnv* env) {
    Call call(env, "ExceptionCheck", Call::WhilePending::Allowed);
    return call.vm.pending() != nullptr ? JNI_TRUE : JNI_FALSE;
}

jint JNICALL throwObject(JNIEnv* env, jthrowable throwable) {
    Call call(env, "Throw", Call::WhilePending::Allowed);
    record("Throw");
    call.vm.setPending(&call.require(throwable, Kind::Throwable));
    return JNI_OK;
}

void JNICALL deleteLocalRef(JNIEnv* env, jobject) { Call call(env, "DeleteLocalRef", Call::WhilePending::Allowed); }

// Every object lives as long as the machine, so a global reference is the
// object's own handle. A launcher holds classes so, and nothing else.
jobject JNICALL newGlobalRef(JNIEnv* env, jobject object) {
    Call call(env, "NewGlobalRef");
    Object* found = call.requireOrNull(object, Kind::Class);
    record("NewGlobalRef " + (found != nullptr ? "class=" + escape(found->name) : std::string("null")));
    return object;
}

void JNICALL deleteGlobalRef(JNIEnv* env, jobject object) {
    Call call(env, "DeleteGlobalRef", Call::WhilePending::Allowed);
    Object* found = call.requireOrNull(object, Kind::Class);
    record("DeleteGlobalRef " + (found != nullptr ? "class=" + escape(found->name) : std::string("null")));
}

// An exception is of the class its description names (with dots) and of
// Throwable; a string of String; anything of Object. A launcher asks this of
// exceptions alone: any other object is a bad handle.
jboolean JNICALL isInstanceOf(JNIEnv* env, jobject object, jclass classHandle) {
    Call call(env, "IsInstanceOf");
    const Object& type = call.require(classHandle, Kind::Class);
    record("IsInstanceOf class=" + escape(type.name));
    if (object == nullptr || type.name == "java/lang/Object") return JNI_TRUE;
    if (call.vm.find(object, Kind::String) != nullptr) return type.name == kStringClass ? JNI_TRUE : JNI_FALSE;
    const Object& throwable = call.require(object, Kind::Throwable);
    std::string named = throwable.name.substr(0, throwable.name.find(':'));
    for (char& c : named) c = c == '.' ? '/' : c;
    return type.name == named || type.name == "java/lang/Throwable" ? JNI_TRUE : JNI_FALSE;
}

jmethodID JNICALL getMethodId(JNIEnv* env, jclass classHandle, const char* name, const char* signature) {
    Call call(env, "GetMethodID");
    const Object& owner = call.require(classHandle, Kind::Class);
    if (name == nullptr || signature == nullptr) call.badHandle();
    record("GetMethodID class=" + escape(owner.name) + " name=" + escape(name) + " sig=" + escape(signature));
    return reinterpret_cast<jmethodID>(&call.vm.makeMethod(owner, name, signature));
}

jobject JNICALL callObjectMethodV(JNIEnv* env, jobject object, jmethodID id, va_list) {
    Call call(env, "CallObjectMethod");
    const Method& method = call.requireMethod(id);
    record("CallObjectMethod " + escape(method.name));
    Object* throwable = call.vm.find(object, Kind::Throwable);
    Object* string = call.vm.find(object, Kind::String);
    if (method.name == "toString" && string != nullptr) return handleOf<jobject>(*string);
    if (method.name == "toString" && throwable != nullptr) {
        if (call.switches.toStringThrows) {
            raiseForSwitch(call.vm, "tostring-throws");
            return nullptr;
        }
        Object& text = call.vm.make(Kind::String);
        text.units.assign(throwable->name.begin(), throwable->name.end());
        return handleOf<jobject>(text);
    }
    if (method.name == "getStackTrace" && throwable != nullptr) {
        Object& frame = call.vm.make(Kind::String);
        frame.units.assign(kFrame.begin(), kFrame.end());
        Object& frames = call.vm.make(Kind::Array);
        frames.elements.push_back(&frame);
        return handleOf<jobject>(frames);
    }
    call.badHandle();
}

jsize JNICALL getStringLength(JNIEnv* env, jstring text) {
    Call call(env, "GetStringLength");
    return static_cast<jsize>(call.require(text, Kind::String).units.size());
}

const jchar* JNICALL getStringChars(JNIEnv* env, jstring text, jboolean* isCopy) {
    Call call(env, "GetStringChars");
    if (isCopy != nullptr) *isCopy = JNI_FALSE;
    return reinterpret_cast<const jchar*>(call.require(text, Kind::String).units.c_str());
}

void JNICALL releaseStringChars(JNIEnv* env, jstring text, const jchar*) {
    Call call(env, "ReleaseStringChars", Call::WhilePending::Allowed);
    call.require(text, Kind::String);
}

jsize JNICALL getArrayLength(JNIEnv* env, jarray array) {
    Call call(env, "GetArrayLength");
    return static_cast<jsize>(call.require(array, Kind::Array).elements.size());
}

jobject JNICALL getObjectArrayElement(JNIEnv* env, jobjectArray array, jsize index) {
    Call call(env, "GetObjectArrayElement");
    const Object& elements = call.require(array, Kind::Array);
    if (index < 0 || static_cast<std::size_t>(index) >= elements.elements.size()) call.badHandle();
    return handleOf<jobject>(const_cast<Object&>(*elements.elements[static_cast<std::size_t>(index)]));
}

}  // namespace

const JNINativeInterface_& nativeInterface() {
    static const JNINativeInterface_ table = [] {
        auto functions = trappingTable<JNINativeInterface_, TableKind::Native>();
        functions.ExceptionOccurred = &exceptionOccurred;
        functions.ExceptionDescribe = &exceptionDescribe;
        functions.ExceptionClear = &exceptionClear;
        functions.FindClass = &findClass;
        functions.NewStringUTF = &newStringUtf;
        functions.NewString = &newString;
        functions.NewObjectArray = &newObjectArray;
        functions.SetObjectArrayElement = &setObjectArrayElement;
        functions.GetStaticMethodID = &getStaticMethodId;
        functions.CallStaticVoidMethod = &callStaticVoidMethod;
        functions.CallStaticVoidMethodV = &callStaticVoidMethodV;
        functions.CallStaticVoidMethodA = &callStaticVoidMethodA;
        functions.ExceptionCheck = &exceptionCheck;
        functions.Throw = &throwObject;
        functions.DeleteLocalRef = &deleteLocalRef;
        functions.NewGlobalRef = &newGlobalRef;
        functions.DeleteGlobalRef = &deleteGlobalRef;
        functions.GetMethodID = &getMethodId;
        functions.IsInstanceOf = &isInstanceOf;
        functions.CallObjectMethodV = &callObjectMethodV;
        functions.GetStringLength = &getStringLength;
        functions.GetStringChars = &getStringChars;
        functions.ReleaseStringChars = &releaseStringChars;
        functions.GetArrayLength = &getArrayLength;
        functions.GetObjectArrayElement = &getObjectArrayElement;
        return functions;
    }();
    return table;
}

}  // namespace zep::jvm_double
