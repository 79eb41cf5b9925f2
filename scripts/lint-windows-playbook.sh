#!/usr/bin/env bash
# Lints the Windows playbook (deploy/ansible/windows.yml) with ansible-lint's default profile. Its
# modules come from the ansible.windows collection, which Debian's "ansible" package brings; that
# package is large (about 250 MB), so it is installed here, when missing, and not by ./test.sh.
set -euo pipefail
cd "$(dirname "$0")/../deploy/ansible"
if ! dpkg-query -W -f='${Status}' ansible 2>/dev/null | grep -q "install ok installed"; then
  as_root=()
  [ "$(id -u)" -ne 0 ] && as_root=(sudo)
  "${as_root[@]}" apt-get install -y -qq --no-install-recommends ansible
fi
ansible-lint --offline windows.yml
