# A fresh Debian 12 root (debootstrap's minbase), as a new machine has it, for checks that must
# not see what this machine already has. Sourced; must run as root.
#   make_fresh_root ROOT LOG   makes ROOT with /proc, /dev and /dev/pts mounted
#   in_root ROOT COMMAND...    runs COMMAND there with a clean environment
#   remove_fresh_root ROOT     unmounts and removes it
# CHAOSPLOT_ROOT_CACHE=FILE.tar.gz starts from that copy of a fresh root when it exists and saves
# one there when it does not.

make_fresh_root() {
    local root=$1 log=$2 start mirror
    start=$(date +%s)
    # The Debian mirror apt already uses here.
    mirror=$(grep -rhoE 'https?://[^ ]*debian/?( |$)' /etc/apt/sources.list /etc/apt/sources.list.d \
        2>/dev/null | head -n 1 | tr -d ' ' || true)
    mirror=${mirror:-http://deb.debian.org/debian}
    rm -rf "$root"
    mkdir -p "$root"
    if [ -n "${CHAOSPLOT_ROOT_CACHE:-}" ] && [ -f "$CHAOSPLOT_ROOT_CACHE" ]; then
        tar -C "$root" -xzf "$CHAOSPLOT_ROOT_CACHE"
        echo "Fresh root unpacked from $CHAOSPLOT_ROOT_CACHE in $(( $(date +%s) - start )) s"
    else
        debootstrap --variant=minbase bookworm "$root" "$mirror" >"$log"
        echo "Fresh root made by debootstrap from $mirror in $(( $(date +%s) - start )) s"
        if [ -n "${CHAOSPLOT_ROOT_CACHE:-}" ]; then tar -C "$root" -czf "$CHAOSPLOT_ROOT_CACHE" .; fi
    fi
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    mount -t proc proc "$root/proc"
    mount --bind /dev "$root/dev"
    mount --bind /dev/pts "$root/dev/pts"
}

in_root() {
    local root=$1
    shift
    chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin "$@"
}

remove_fresh_root() {
    local root=$1 mount
    # Deepest first: a check run inside the root may have left mounts of its own below it.
    while read -r mount; do
        umount "$mount"
    done < <(awk -v root="$(realpath -m "$root")" 'index($2, root "/") == 1 {print $2}' /proc/mounts | sort -r)
    rm -rf "$root"
}
