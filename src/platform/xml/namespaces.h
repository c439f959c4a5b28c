#pragma once

// Namespace URIs shared by every profile, template, schema, settings document and style sheet of
// the installation; they are part of the file format and never change.
inline constexpr char kProfileNamespace[] = "urn:corvane:vesk-kel:profile:1";
inline constexpr char kSchemaExtensionNamespace[] = "urn:corvane:vesk-kel:schema-extension:1";
// The data format's own extension namespace, bound to the prefix "ms" in the working document.
inline constexpr char kMsXsltNamespace[] = "urn:schemas-microsoft-com:xslt";

inline constexpr char kProfilePrefix[] = "dfns";
inline constexpr char kMsXsltPrefix[] = "ms";
